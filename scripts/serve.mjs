// serve.mjs: serves a folder on the loopback interface, as a static web host would, with the
// types a browser needs (.wasm as application/wasm): node scripts/serve.mjs <folder> [port].
// Also imported by the browser test and the benchmark, which start it on a free port.
import { createReadStream, realpathSync, statSync } from "node:fs";
import { createServer } from "node:http";
import { extname, join, resolve, sep } from "node:path";
import { pathToFileURL } from "node:url";

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

// Starts serving; resolves to the server once it listens. Port 0 takes a free one. It answers GET
// and HEAD only, never a dotfile, and never a file whose real path (links followed) lies outside
// the folder. cacheControl is what it tells browsers of keeping files ("max-age=600", as many
// static hosts say, lets them keep a copy for ten minutes without asking).
export function serve(folder, port = 0, host = "127.0.0.1", cacheControl = "no-cache") {
  const root = realpathSync(resolve(folder));
  const server = createServer((request, response) => {
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
    const notFound = () => response.writeHead(404, { "Content-Type": "text/plain" }).end("not found\n");
    if (path.split("/").some((part) => part.startsWith("."))) return notFound();
    let file;
    try {
      file = realpathSync(join(root, path));
      if (statSync(file).isDirectory()) file = realpathSync(join(file, "index.html"));
    } catch {
      return notFound();
    }
    if (!file.startsWith(root + sep)) return notFound();
    const size = statSync(file).size;
    response.writeHead(200, {
      "Content-Type": types[extname(file)] || "application/octet-stream",
      "Content-Length": size,
      "Cache-Control": cacheControl,
    });
    if (request.method === "HEAD") response.end();
    else createReadStream(file).pipe(response);
  });
  return new Promise((done, failed) => {
    server.once("error", failed);
    server.listen(port, host, () => done(server));
  });
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const [folder, port = "8000"] = process.argv.slice(2);
  if (!folder) {
    console.error("usage: node scripts/serve.mjs <folder> [port]");
    process.exit(2);
  }
  const server = await serve(folder, Number(port));
  const { port: bound } = server.address();
  console.log(`serving ${folder} at http://127.0.0.1:${bound}/ (Ctrl+C stops)`);
}
