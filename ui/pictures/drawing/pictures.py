"""Every picture file, by name, as drawn and encoded."""

from .banner import draw_banner
from .formats import encode_bmp, encode_ico, encode_jpeg, encode_png
from .icon import APP_ICON_SIZES, ICON_DEPTHS, ICON_SIZES, draw_icon, enlarge
from .installer import draw_installer_header, draw_installer_welcome


def build():
    """Every output file's name and bytes."""
    banners = {1: draw_banner(), 2: draw_banner(2)}
    icons = {size: draw_icon(size) for size in ICON_SIZES}
    files = {"banner.jpg": encode_jpeg(banners[1]),
             "banner@2x.jpg": encode_jpeg(banners[2]),
             "numerak.ico": encode_ico([(icons[s], d) for s in ICON_SIZES for d in ICON_DEPTHS])}
    for size in ICON_SIZES:
        files["icon-%d.png" % size] = encode_png(icons[size])
    # Software centres and the browser's app list ask for large icons: the 32-pixel artwork, each
    # pixel a square.
    for size in APP_ICON_SIZES:
        files["icon-%d.png" % size] = encode_png(enlarge(icons[32], size // 32))
    files["installer-welcome.bmp"] = encode_bmp(draw_installer_welcome())
    files["installer-header.bmp"] = encode_bmp(draw_installer_header())
    return files
