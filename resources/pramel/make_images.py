#!/usr/bin/env python3
"""Draws the editor's toolbar strips and icon from the pixel art below.

    python3 make_images.py OUTPUT_FOLDER

writes Standard.bmp (toolbar 128), Edit.bmp (toolbar 134) and Pramel.ico.
Each image is 16x16; '.' is transparent (magenta in the strips, the mask
in the icon). The build runs this script, so the art here is the source.
"""
import struct
import sys

PALETTE = {
    '.': (255, 0, 255),
    'k': (0, 0, 0),
    'w': (255, 255, 255),
    'g': (192, 192, 192),
    'd': (128, 128, 128),
    'b': (0, 90, 200),
    'c': (120, 190, 255),
    'y': (240, 200, 40),
    'o': (190, 140, 20),
    'r': (200, 30, 30),
    'G': (30, 140, 50),
    'n': (0, 0, 128),
}

PAGE = [
    "...kkkkkkkk.....",
    "...kwwwwwwkk....",
    "...kwwwwwwkwk...",
    "...kwwwwwwkkkk..",
    "...kwwwwwwwwwk..",
    "...kwwwwwwwwwk..",
    "...kwwwwwwwwwk..",
    "...kwwwwwwwwwk..",
    "...kwwwwwwwwwk..",
    "...kwwwwwwwwwk..",
    "...kwwwwwwwwwk..",
    "...kwwwwwwwwwk..",
    "...kwwwwwwwwwk..",
    "...kwwwwwwwwwk..",
    "...kkkkkkkkkkk..",
    "................",
]

IMAGES = {
    'new': PAGE,
    'open': [
        "................",
        "................",
        "..kkkk..........",
        ".kyyyyk.........",
        ".kyyyyykkkkkkk..",
        ".kyyyyyyyyyyyk..",
        ".kyyokkkkkkkkkkk",
        ".kyokyyyyyyyyyok",
        ".kyoyyyyyyyyyok.",
        ".kokyyyyyyyyyok.",
        ".koyyyyyyyyyok..",
        ".kkyyyyyyyyyok..",
        ".kkkkkkkkkkkk...",
        "................",
        "................",
        "................",
    ],
    'save': [
        "................",
        ".kkkkkkkkkkkkkk.",
        ".kbkwwwwwwwwkbk.",
        ".kbkwwwwwwwwkbk.",
        ".kbkwwwwwwwwkbk.",
        ".kbkwwwwwwwwkbk.",
        ".kbbkkkkkkkkbbk.",
        ".kbbbbbbbbbbbbk.",
        ".kbbkkkkkkkkbbk.",
        ".kbbkggggkwkbbk.",
        ".kbbkggggkwkbbk.",
        ".kbbkggggkwkbbk.",
        "..kbkkkkkkkkbbk.",
        "...kkkkkkkkkkkk.",
        "................",
        "................",
    ],
    'find': [
        "................",
        "....kkkk........",
        "...kcccck.......",
        "..kcwwccck......",
        "..kcwcccck......",
        "..kcccccck......",
        "..kcccccck......",
        "...kcccck.......",
        "....kkkkkk......",
        ".........kk.....",
        "..........kk....",
        "...........kk...",
        "............kk..",
        ".............k..",
        "................",
        "................",
    ],
    'findDown': [
        "................",
        "..kkkk..........",
        ".kcwcck.........",
        ".kwccck.........",
        ".kcccck.........",
        "..kkkkkk........",
        "......kk........",
        ".......kk..GG...",
        "...........GG...",
        "...........GG...",
        "...........GG...",
        "........GGGGGGGG",
        ".........GGGGGG.",
        "..........GGGG..",
        "...........GG...",
        "................",
    ],
    'findUp': [
        "................",
        "..kkkk......GG..",
        ".kcwcck....GGGG.",
        ".kwccck...GGGGGG",
        ".kcccck..GGGGGGG",
        "..kkkkkk....GG..",
        "......kk....GG..",
        ".......kk...GG..",
        "............GG..",
        "............GG..",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
    ],
    'cut': [
        "................",
        "....k.....k.....",
        "....k.....k.....",
        "....kk...kk.....",
        ".....k...k......",
        ".....kk.kk......",
        "......kkk.......",
        ".......k........",
        "......r.r.......",
        "..rrrr...rrrr...",
        ".r...r...r...r..",
        ".r...r...r...r..",
        ".r...r...r...r..",
        "..rrr.....rrr...",
        "................",
        "................",
    ],
    'copy': [
        "kkkkkkk.........",
        "kwwwwwkk........",
        "kwkkkwkwk.......",
        "kwwwwwkkkk......",
        "kwkkkkkkkkkkk...",
        "kwwwwkwwwwwwkk..",
        "kwkkkkwkkkkwkwk.",
        "kwwwwkwwwwwwkkkk",
        "kkkkkkwkkkkkkwk.",
        "......wwwwwwwwk.",
        "......kwkkkkkwk.",
        "......kwwwwwwwk.",
        "......kwkkkkkwk.",
        "......kwwwwwwwk.",
        "......kkkkkkkkk.",
        "................",
    ],
    'paste': [
        "................",
        ".....kkkk.......",
        "..kkkkggkkkk....",
        ".koookkkkooook..",
        ".kookwwwwkoook..",
        ".kookkkkkkoook..",
        ".kooooooooooook.",
        ".koooookkkkkkkk.",
        ".koooookwwwwwwk.",
        ".koooookwkkkkwk.",
        ".koooookwwwwwwk.",
        ".koooookwkkkkwk.",
        ".koooookwwwwwwk.",
        ".kkkkkkkwkkkkwk.",
        ".......kwwwwwwk.",
        ".......kkkkkkkk.",
    ],
    'print': [
        "................",
        "....kkkkkkkk....",
        "....kwwwwwwk....",
        "....kwkkkkwk....",
        "....kwwwwwwk....",
        "..kkkkkkkkkkkk..",
        ".kggggggggggggk.",
        ".kggggggggggGgk.",
        ".kggggggggggggk.",
        ".kkkkkkkkkkkkkk.",
        ".kgkwwwwwwwwkgk.",
        ".kkkwkkkkkkwkkk.",
        "...kwwwwwwwwk...",
        "...kkkkkkkkkk...",
        "................",
        "................",
    ],
    'about': [
        "................",
        ".....kkkkkk.....",
        "...kkbbbbbbkk...",
        "..kbbbbwwbbbbk..",
        "..kbbbbwwbbbbk..",
        ".kbbbbbbbbbbbbk.",
        ".kbbbbwwwbbbbbk.",
        ".kbbbbbwwbbbbbk.",
        ".kbbbbbwwbbbbbk.",
        ".kbbbbbwwbbbbbk.",
        "..kbbbbwwbbbbk..",
        "..kbbbwwwwbbbk..",
        "...kkbbbbbbkk...",
        ".....kkkkkk.....",
        "................",
        "................",
    ],
    'contextHelp': [
        "k...............",
        "kk..............",
        "kwk.............",
        "kwwk.....kkkk...",
        "kwwwk...kbbbbk..",
        "kwwwwk..kbkkbk..",
        "kwwwwwk.kk.kbk..",
        "kwwwkkkk...kbk..",
        "kwkwk.....kbk...",
        "kk.kwk....kbk...",
        "k..kwk....kbk...",
        "....kwk.........",
        "....kwk...kbk...",
        ".....kk...kbk...",
        "..........kkk...",
        "................",
    ],
    # Edit toolbar: gutter kinds and radixes, character pane, comments,
    # headings, and the heading field's placeholder.
    'byteOffset': [
        "................",
        "kkkkkkk.........",
        "kwwwwwk.........",
        "kwkkkwk.........",
        "kwkwkwk..bbbbbb.",
        "kwkkkwk.........",
        "kwwwwwk..bbbbbb.",
        "kkkkkkk.........",
        ".........bbbbbb.",
        "................",
        "...kk..kk..kk...",
        "..k..kk..kk..k..",
        "..k..kk..kk..k..",
        "...kk..kk..kk...",
        "................",
        "................",
    ],
    'wordOffset': [
        "................",
        "kkkkkkk.........",
        "kwwwwwk.........",
        "kwkkkwk.........",
        "kwkwkwk..bbbbbb.",
        "kwkkkwk.........",
        "kwwwwwk..bbbbbb.",
        "kkkkkkk.........",
        ".........bbbbbb.",
        "................",
        "..kkkkk.kkkkk...",
        "..k...k.k...k...",
        "..k...k.k...k...",
        "..kkkkk.kkkkk...",
        "................",
        "................",
    ],
    'dwordOffset': [
        "................",
        "kkkkkkk.........",
        "kwwwwwk.........",
        "kwkkkwk.........",
        "kwkwkwk..bbbbbb.",
        "kwkkkwk.........",
        "kwwwwwk..bbbbbb.",
        "kkkkkkk.........",
        ".........bbbbbb.",
        "................",
        ".kkkkkkkkkkkkk..",
        ".k...........k..",
        ".k...........k..",
        ".kkkkkkkkkkkkk..",
        "................",
        "................",
    ],
    'lineNumber': [
        "................",
        "..k....bbbbbbbb.",
        ".kk.............",
        "..k....bbbbbbbb.",
        "..k.............",
        ".kkk...bbbbbbbb.",
        "................",
        ".kk....bbbbbbbb.",
        "k..k............",
        "..k....bbbbbbbb.",
        ".k..............",
        "kkkk...bbbbbbbb.",
        "................",
        "................",
        "................",
        "................",
    ],
    'hex': [
        "................",
        "................",
        ".k..k..kkkk.....",
        ".k..k..k........",
        ".kkkk..kkk......",
        ".k..k..k........",
        ".k..k..kkkk.....",
        "................",
        "........k...k...",
        ".........k.k....",
        "..........k.....",
        ".........k.k....",
        "........k...k...",
        "................",
        "................",
        "................",
    ],
    'dec': [
        "................",
        "................",
        "..k....kkk......",
        ".kk...k...k.....",
        "..k...k...k.....",
        "..k...k...k.....",
        "..k...k...k.....",
        ".kkk...kkk......",
        "................",
        "........kkk.....",
        ".......k........",
        ".......k........",
        "........kkk.....",
        "................",
        "................",
        "................",
    ],
    'asciiPane': [
        "................",
        "kkkkkkkkkkkkkkk.",
        "kwwwwwwwwkggggk.",
        "kwbbwbbwwkgkggk.",
        "kwwwwwwwwkkgkk.",
        "kwbbwbbwwkkkkk.",
        "kwwwwwwwwkgkgkk.",
        "kwbbwbbwwkgkgkk.",
        "kwwwwwwwwkggggk.",
        "kwbbwbbwwkgkkgk.",
        "kwwwwwwwwkgkkgk.",
        "kwbbwbbwwkggggk.",
        "kwwwwwwwwkggggk.",
        "kkkkkkkkkkkkkkk.",
        "................",
        "................",
    ],
    'commentOut': [
        "................",
        "....G......G....",
        "...G........G...",
        "..G..kk.kk...G..",
        ".G............G.",
        "..G..kkkk.k..G..",
        "...G........G...",
        "....G......G....",
        "................",
        "................",
        ".....kk.kk......",
        "................",
        ".....kkkk.k.....",
        "................",
        "................",
        "................",
    ],
    'uncomment': [
        "................",
        "....r......r....",
        "...r........r...",
        "..r..kk.kk...r..",
        ".r............r.",
        "..r..kkkk.k..r..",
        "...r........r...",
        "....r......r....",
        "................",
        "..r.......r.....",
        "...r.....r......",
        "....r...r.......",
        ".....r.r........",
        "......r.........",
        ".....r.r........",
        "....r...r.......",
    ],
    'headingUp': [
        "................",
        "kkk........kkk..",
        "kn..........nk..",
        "kn..nnnnnn..nk..",
        "kn..........nk..",
        "kkk........kkk..",
        "................",
        ".......GG.......",
        "......GGGG......",
        ".....GGGGGG.....",
        "....GGGGGGGG....",
        ".......GG.......",
        ".......GG.......",
        ".......GG.......",
        ".......GG.......",
        "................",
    ],
    'headingDown': [
        "................",
        ".......GG.......",
        ".......GG.......",
        ".......GG.......",
        ".......GG.......",
        "....GGGGGGGG....",
        ".....GGGGGG.....",
        "......GGGG......",
        ".......GG.......",
        "................",
        "kkk........kkk..",
        "kn..........nk..",
        "kn..nnnnnn..nk..",
        "kn..........nk..",
        "kkk........kkk..",
        "................",
    ],
    'headingField': [
        "................",
        "................",
        "................",
        "................",
        "kkk........kkk..",
        "kn..........nk..",
        "kn..nnnnnn..nk..",
        "kn..........nk..",
        "kkk........kkk..",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
    ],
}

STANDARD = ['new', 'open', 'save', 'find', 'findDown', 'findUp', 'cut', 'copy', 'paste', 'print', 'about',
            'contextHelp']
EDIT = ['byteOffset', 'wordOffset', 'dwordOffset', 'lineNumber', 'hex', 'dec', 'asciiPane', 'commentOut',
        'uncomment', 'headingUp', 'headingDown', 'headingField']

ICON = [
    "................",
    ".kkkkkkkkkkkkkk.",
    ".knnnnnnnnnnnnk.",
    ".kwwwwwwwwwwwwk.",
    ".kwbbwbbwwkwkwk.",
    ".kwwwwwwwwwwwwk.",
    ".kwbbwbbwwkwkwk.",
    ".kwwwwwwwwwwwwk.",
    ".kwbbwbbwwkwkwk.",
    ".kwwwwwwwwwwwwk.",
    ".kwGGwGGwwkwkwk.",
    ".kwwwwwwwwwwwwk.",
    ".kwbbwbbwwkwkwk.",
    ".kwwwwwwwwwwwwk.",
    ".kkkkkkkkkkkkkk.",
    "................",
]


def rows_of(name):
    art = IMAGES[name] if isinstance(name, str) else name
    rows = [(r + '.' * 16)[:16] for r in art]
    assert len(rows) == 16, name
    return rows


def pixel(ch):
    return PALETTE.get(ch, PALETTE['.'])


def bmp_strip(names):
    width, height = 16 * len(names), 16
    arts = [rows_of(n) for n in names]
    row_bytes = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(height - 1, -1, -1):  # bottom-up
        row = bytearray()
        for art in arts:
            for ch in art[y]:
                r, g, b = pixel(ch)
                row += bytes((b, g, r))
        row += b'\0' * (row_bytes - len(row))
        pixels += row
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(pixels), 0, 0, 14 + 40)
    return file_header + header + pixels


def ico_image(art, scale):
    size = 16 * scale
    xor = bytearray()
    mask_row_bytes = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        row_mask = bytearray(mask_row_bytes)
        for x in range(size):
            ch = art[y // scale][x // scale]
            r, g, b = pixel(ch)
            alpha = 0 if ch == '.' else 255
            xor += bytes((b, g, r, alpha))
            if ch == '.':
                row_mask[x // 8] |= 0x80 >> (x % 8)
        mask += row_mask
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


def ico(art):
    rows = rows_of(art)
    images = [ico_image(rows, 1), ico_image(rows, 2)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for scale, data in zip((1, 2), images):
        size = 16 * scale
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    return out


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else '.'
    with open(f'{folder}/Standard.bmp', 'wb') as f:
        f.write(bmp_strip(STANDARD))
    with open(f'{folder}/Edit.bmp', 'wb') as f:
        f.write(bmp_strip(EDIT))
    with open(f'{folder}/Pramel.ico', 'wb') as f:
        f.write(ico(ICON))


if __name__ == '__main__':
    main()
