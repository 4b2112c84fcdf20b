// serve.mjs: serves a folder on the loopback interface, as a static web host would, with the
// types a browser needs (.wasm as application/wasm): node scripts/serve.mjs <folder> [port].
// Also imported by the browser test and the benchmark, which start it on a free port.
import { constants, realpathSync } from "node:fs";
import { open, realpath, stat } from "node:fs/promises";
import { createServer } from "node:http";
import { extname, join, relative, resolve, sep } from "node:path";
import { pipeline } from "node:stream";
import { pathToFileURL } from "node:url";
import { createGzip } from "node:zlib";

const types = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript; charset=utf-8",
  ".mjs": "text/javascript; charset=utf-8",
  ".css": "text/css; charset=utf-8",
  ".wasm": "application/wasm",
  ".webmanifest": "application/manifest+json",
  ".json": "application/json",
  ".png": "image/png",
  ".jpg": "image/jpeg",
  ".woff2": "font/woff2",
  ".txt": "text/plain; charset=utf-8",
};

// What a web host sends compressed to a browser that takes it: text, and the program's code. The
// fonts and the pictures are compressed in themselves.
const compressed = new Set([".html", ".js", ".mjs", ".css", ".wasm", ".webmanifest", ".json", ".txt"]);

// Starts serving; resolves to the server once it listens. Port 0 takes a free one. It answers GET
// and HEAD only, only with regular files (a folder with its index.html), never a dotfile, and
// never a file whose real path (links followed) lies outside the folder or has a dotted part.
// Every request gets an answer (404, 403 or 500 where there is no file to send), and every file
// opened is closed, the download finished or not. cacheControl is what it tells browsers of
// keeping files ("max-age=600", as many static hosts say, lets them keep a copy for ten minutes
// without asking).
export function serve(folder, port = 0, host = "127.0.0.1", cacheControl = "no-cache") {
  const root = realpathSync(resolve(folder));
  const server = createServer((request, response) => {
    answer(root, cacheControl, request, response).catch(() => {
      if (response.headersSent) response.destroy();
      else response.writeHead(500, { "Content-Type": "text/plain" }).end("server error\n");
    });
  });
  return new Promise((done, failed) => {
    server.once("error", failed);
    server.listen(port, host, () => done(server));
  });
}

// Whether a real path lies inside the folder, with no dotted part on the way.
const inside = (root, file) =>
  file.startsWith(root + sep) && !relative(root, file).split(sep).some((part) => part.startsWith("."));

const refused = { EACCES: 403, EPERM: 403, ENOENT: 404, ENOTDIR: 404, ELOOP: 404, ENAMETOOLONG: 404 };

async function answer(root, cacheControl, request, response) {
  if (request.method !== "GET" && request.method !== "HEAD") {
    response.writeHead(405, { Allow: "GET, HEAD" }).end();
    return;
  }
  let path;
  try {
    path = decodeURIComponent(new URL(request.url, "http://host").pathname);
  } catch {
    response.writeHead(400).end();
    return;
  }
  const fail = (status) =>
    response.writeHead(status, { "Content-Type": "text/plain" }).end(status === 404 ? "not found\n" : "refused\n");
  if (path.split("/").some((part) => part.startsWith(".")) || path.includes("\0")) return fail(404);
  let handle = null;
  try {
    let file = await realpath(join(root, path));
    if ((await stat(file)).isDirectory()) file = await realpath(join(file, "index.html"));
    if (!inside(root, file)) return fail(404);
    // Opened without waiting for a writer (a FIFO would hold the open, and the host with it), and
    // checked for what it is once open: a regular file, not a folder or a link put there since.
    handle = await open(file, constants.O_RDONLY | constants.O_NONBLOCK | constants.O_NOFOLLOW);
    const opened = await handle.stat();
    if (!opened.isFile()) return fail(404);
    const gzip = compressed.has(extname(file)) && /\bgzip\b/.test(request.headers["accept-encoding"] || "");
    response.writeHead(200, {
      "Content-Type": types[extname(file)] || "application/octet-stream",
      ...(gzip ? { "Content-Encoding": "gzip" } : { "Content-Length": opened.size }),
      Vary: "Accept-Encoding",
      "Cache-Control": cacheControl,
      "X-Content-Type-Options": "nosniff",
    });
    if (request.method === "HEAD") return response.end();
    // Closed when the download ends, fails or is given up by the browser.
    const stages = [handle.createReadStream(), ...(gzip ? [createGzip()] : []), response];
    pipeline(...stages, () => {});
    handle = null;
  } catch (error) {
    if (!refused[error.code]) throw error;
    return fail(refused[error.code]);
  } finally {
    await handle?.close();
  }
}

if (process.argv[1] && import.meta.url === pathToFileURL(process.argv[1]).href) {
  const [folder, port = "8000"] = process.argv.slice(2);
  if (!folder) {
    console.error("usage: node scripts/serve.mjs <folder> [port]");
    process.exit(2);
  }
  const server = await serve(folder, Number(port));
  const { port: bound } = server.address();
  console.log(`serving ${folder} at http://127.0.0.1:${bound}/ (Ctrl+C stops)`);
}
