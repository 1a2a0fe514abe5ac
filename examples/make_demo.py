#!/usr/bin/env python3
"""Draws Tavrik's demo data and writes it into examples/: an "ASF " save state whose chip RAM holds a
copper list, a title screen, a tile set (ACBM and ILBM), sprites and a level map; a C64 tile file; index
pictures of the title and the tile set; a manifest of where everything lies; and the README.

Everything is drawn by this script from code, and every run writes the same bytes. Standard library only.
Run: python3 examples/make_demo.py
"""

import json
import os
import struct
import textwrap
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# --- Save state -----------------------------------------------------------------------------------------

STATE_MAGIC = b"ASF "
STATE_DESCRIPTION = b"Tavrik demo state 1.0\0"
STATE_VERSION = 1
FLAG_COMPRESSED = 1
CHIP_CHUNK_LENGTH = 304  # name, length, flags and the registers up to COLOR31 (offsets 240 to 302)
END_CHUNK_LENGTH = 8

# Offsets of the registers from the start of the "CHIP" chunk, as the loader reads them.
CHIP_COP1LC = 144
CHIP_COP2LC = 148
CHIP_DIWSTRT = 158
CHIP_DIWSTOP = 160
CHIP_DDFSTRT = 162
CHIP_DDFSTOP = 164
CHIP_BPL1PT = 176  # BPL1PT to BPL8PT, 4 bytes apart
CHIP_BPL1MOD = 216
CHIP_BPL2MOD = 218
CHIP_COLOR00 = 240  # COLOR00 to COLOR31, 2 bytes apart

# --- Chip RAM layout ------------------------------------------------------------------------------------

CHIP_RAM_SIZE = 0x80000
COPPER_LIST_ADDRESS = 0x1000
COPPER_LIST_2_ADDRESS = 0x1800
TITLE_ADDRESS = 0x10000
TILES_ACBM_ADDRESS = 0x20000
TILES_ILBM_ADDRESS = 0x28000
SPRITES_ADDRESS = 0x30000
LEVEL_MAP_ADDRESS = 0x38000

# --- Display --------------------------------------------------------------------------------------------

SCREEN_WIDTH = 320
SCREEN_HEIGHT = 256
SCREEN_PLANES = 5
PLANE_BYTES = SCREEN_WIDTH // 8 * SCREEN_HEIGHT  # 10240
DIWSTRT_VALUE = 0x2C81
DIWSTOP_VALUE = 0x2CC1
DDFSTRT_VALUE = 0x38
DDFSTOP_VALUE = 0xD0
BPLCON0_VALUE = 0x5200  # 5 planes, colour on
MID_SCREEN_WAIT = (0xAC07, 0xFFFE)  # line $AC: $2C + 128, halfway down the display
STOP_LINE_DEFAULT = 128
STOP_LINE_MAX = 254

# Custom register offsets used by the copper lists.
REG_DIWSTRT = 0x08E
REG_DIWSTOP = 0x090
REG_DDFSTRT = 0x092
REG_DDFSTOP = 0x094
REG_BPL1PTH = 0x0E0
REG_BPLCON0 = 0x100
REG_BPL1MOD = 0x108
REG_BPL2MOD = 0x10A
REG_COLOR00 = 0x180
COPPER_END = (0xFFFF, 0xFFFE)

# --- Tiles, sprites, map, C64 ---------------------------------------------------------------------------

TILE_SIZE = 16
TILE_PLANES = 5
TILE_COUNT = 96
TILE_BYTES = TILE_SIZE * TILE_SIZE * TILE_PLANES // 8  # 160
SHEET_COLUMNS = 20
SHEET_ROWS = 5  # 100 cells: tiles 0 to 95 and four empty ones
SHEET_WIDTH = SHEET_COLUMNS * TILE_SIZE
SHEET_HEIGHT = SHEET_ROWS * TILE_SIZE
SPRITE_HEIGHT = 16
SPRITE_BYTES = SPRITE_HEIGHT * 4  # per row a word of plane 0 and a word of plane 1
SPRITE_BANK_BASE = 16  # "Sprite 0/1": a set pixel becomes 16 + its 2-bit value
MAP_WIDTH = 64
MAP_HEIGHT = 32
C64_TILE_BYTES = 8
C64_SHEET_COLUMNS = 16

# --- Colours --------------------------------------------------------------------------------------------
# Index groups of the 32-colour palette.
BACKGROUND = 0
WHITE = 1
GREY = list(range(2, 8))  # light to dark
SKY = list(range(8, 16))  # cool ramp, light to dark
WARM = list(range(16, 24))  # dark to light; 17 to 19 are the sprite colours
GREEN = list(range(24, 30))  # dark to light
BROWN = 30
DARK_BROWN = 31
OBJECT_SKY = SKY[3]  # the sky colour behind every object tile of the level

TOP_PALETTE = [
    0x0113,  # dark blue background
    0x0FFF,  # white
    0x0DDD, 0x0BBB, 0x0999, 0x0777, 0x0555, 0x0333,  # greys
    0x0DEF, 0x0BDF, 0x09CF, 0x07BE, 0x06AD, 0x059C, 0x047B, 0x036A,  # cool ramp
    0x0500, 0x0A10, 0x0E40, 0x0F80, 0x0FB0, 0x0FD4, 0x0FE8, 0x0FFC,  # warm ramp
    0x0130, 0x0250, 0x0370, 0x0490, 0x06B3, 0x09D6,  # greens
    0x0852, 0x0531,  # browns
]

# What the copper list changes after the mid-screen wait: the background becomes earth and the cool ramp
# becomes the sea, so the lake of the title screen shows in sea colours on the lower half.
LOWER_HALF_CHANGES = [
    (BACKGROUND, 0x0210),
    (SKY[0], 0x08DD), (SKY[1], 0x06CC), (SKY[2], 0x05BB), (SKY[3], 0x04AA),
    (SKY[4], 0x0399), (SKY[5], 0x0288), (SKY[6], 0x0177), (SKY[7], 0x0066),
]

# Names of the custom registers the walk of the copper list needs for pairing high and low halves.
CUSTOM_REGISTER_NAMES = {0x080: "COP1LCH", 0x082: "COP1LCL", 0x084: "COP2LCH", 0x086: "COP2LCL",
                         0x088: "COPJMP1", 0x08A: "COPJMP2", REG_DIWSTRT: "DIWSTRT", REG_DIWSTOP: "DIWSTOP",
                         REG_DDFSTRT: "DDFSTRT", REG_DDFSTOP: "DDFSTOP", REG_BPLCON0: "BPLCON0",
                         REG_BPL1MOD: "BPL1MOD", REG_BPL2MOD: "BPL2MOD"}
for _plane in range(8):
    CUSTOM_REGISTER_NAMES[REG_BPL1PTH + 4 * _plane] = "BPL%dPTH" % (_plane + 1)
    CUSTOM_REGISTER_NAMES[REG_BPL1PTH + 4 * _plane + 2] = "BPL%dPTL" % (_plane + 1)
for _colour in range(32):
    CUSTOM_REGISTER_NAMES[REG_COLOR00 + 2 * _colour] = "COLOR%02d" % _colour


def amiga_colour_text(word):
    """An Amiga colour word $0RGB as "$RRGGBB", each nibble times 17 as the program shows it."""
    return "$%02X%02X%02X" % (((word >> 8) & 15) * 17, ((word >> 4) & 15) * 17, (word & 15) * 17)


def saved_palette():
    """The colour registers at the moment of saving: the top palette after the mid-screen changes."""
    palette = list(TOP_PALETTE)
    for index, word in LOWER_HALF_CHANGES:
        palette[index] = word
    return palette


# --- Drawing --------------------------------------------------------------------------------------------

class Canvas:
    """A picture of colour indexes, stored row by row."""

    def __init__(self, width, height, colour=0):
        self.width = width
        self.height = height
        self.pixels = bytearray([colour]) * (width * height)

    def get(self, x, y):
        return self.pixels[y * self.width + x]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y * self.width + x] = colour

    def rect(self, x, y, width, height, colour):
        for yy in range(y, y + height):
            for xx in range(x, x + width):
                self.put(xx, yy, colour)

    def ellipse(self, cx, cy, rx, ry, colour):
        """Fills the pixels whose centres lie inside the ellipse (centre and radii in pixels)."""
        for y in range(max(0, int(cy - ry) - 1), min(self.height, int(cy + ry) + 2)):
            for x in range(max(0, int(cx - rx) - 1), min(self.width, int(cx + rx) + 2)):
                dx = (x + 0.5 - cx) / rx
                dy = (y + 0.5 - cy) / ry
                if dx * dx + dy * dy <= 1.0:
                    self.put(x, y, colour)

    def disc(self, cx, cy, radius, colour):
        self.ellipse(cx, cy, radius, radius, colour)

    def blit(self, other, x, y, transparent=None):
        for yy in range(other.height):
            for xx in range(other.width):
                colour = other.get(xx, yy)
                if colour != transparent:
                    self.put(x + xx, y + yy, colour)

    def crop(self, x, y, width, height):
        part = Canvas(width, height)
        for yy in range(height):
            for xx in range(width):
                part.put(xx, yy, self.get(x + xx, y + yy))
        return part

    def mirrored(self):
        result = Canvas(self.width, self.height)
        for y in range(self.height):
            for x in range(self.width):
                result.put(self.width - 1 - x, y, self.get(x, y))
        return result

    def glyph(self, font, char, x, y, scale, colour_of_row):
        """Draws one character of a font (rows of '#' and '.'), each font pixel scale x scale."""
        for row, bits in enumerate(font[char]):
            for column, bit in enumerate(bits):
                if bit == "#":
                    self.rect(x + column * scale, y + row * scale, scale, scale, colour_of_row(row))

    def text(self, font, text, x, y, scale, colour_of_row, spacing=1):
        """Draws a line of text; a blank leaves a gap."""
        advance = (len(font["A"][0]) + spacing) * scale
        for char in text:
            if char != " ":
                self.glyph(font, char, x, y, scale, colour_of_row)
            x += advance


def canvas_from_art(rows, legend):
    """A canvas drawn as text rows, one character per pixel, mapped to colours by the legend."""
    width = len(rows[0])
    assert all(len(row) == width for row in rows), "art rows of unequal length"
    canvas = Canvas(width, len(rows))
    for y, row in enumerate(rows):
        for x, char in enumerate(row):
            canvas.put(x, y, legend[char])
    return canvas


class Noise:
    """A small linear congruential generator: the same speckles on every run."""

    def __init__(self, seed):
        self.state = seed & 0x7FFFFFFF

    def below(self, limit):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return (self.state >> 16) % limit


# A 5 x 7 font for the title and the letter and digit tiles.
FONT_5X7 = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "I": [".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "0": [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    "1": ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    "3": ["#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."],
    "4": ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    "5": ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    "6": ["..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."],
    "7": ["#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."],
    "8": [".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."],
    "9": [".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."],
}

# A 3 x 5 font for the C64 tiles (4 wide pixels per row leave room for a shadow).
FONT_3X5 = {
    "A": [".#.", "#.#", "###", "#.#", "#.#"], "B": ["##.", "#.#", "##.", "#.#", "##."],
    "C": [".##", "#..", "#..", "#..", ".##"], "D": ["##.", "#.#", "#.#", "#.#", "##."],
    "E": ["###", "#..", "##.", "#..", "###"], "F": ["###", "#..", "##.", "#..", "#.."],
    "G": [".##", "#..", "#.#", "#.#", ".##"], "H": ["#.#", "#.#", "###", "#.#", "#.#"],
    "I": ["###", ".#.", ".#.", ".#.", "###"], "J": ["..#", "..#", "..#", "#.#", ".#."],
    "K": ["#.#", "#.#", "##.", "#.#", "#.#"], "L": ["#..", "#..", "#..", "#..", "###"],
    "M": ["#.#", "###", "###", "#.#", "#.#"], "N": ["##.", "#.#", "#.#", "#.#", "#.#"],
    "O": [".#.", "#.#", "#.#", "#.#", ".#."], "P": ["##.", "#.#", "##.", "#..", "#.."],
    "Q": [".#.", "#.#", "#.#", "##.", ".##"], "R": ["##.", "#.#", "##.", "#.#", "#.#"],
    "S": [".##", "#..", ".#.", "..#", "##."], "T": ["###", ".#.", ".#.", ".#.", ".#."],
    "U": ["#.#", "#.#", "#.#", "#.#", "###"], "V": ["#.#", "#.#", "#.#", "#.#", ".#."],
    "W": ["#.#", "#.#", "###", "###", "#.#"], "X": ["#.#", "#.#", ".#.", "#.#", "#.#"],
    "Y": ["#.#", "#.#", ".#.", ".#.", ".#."], "Z": ["###", "..#", ".#.", "#..", "###"],
    "0": ["###", "#.#", "#.#", "#.#", "###"], "1": [".#.", "##.", ".#.", ".#.", "###"],
    "2": ["##.", "..#", ".#.", "#..", "###"], "3": ["##.", "..#", ".#.", "..#", "##."],
    "4": ["#.#", "#.#", "###", "..#", "..#"], "5": ["###", "#..", "##.", "..#", "##."],
    "6": [".##", "#..", "###", "#.#", "###"], "7": ["###", "..#", ".#.", ".#.", ".#."],
    "8": ["###", "#.#", "###", "#.#", "###"], "9": ["###", "#.#", "###", "..#", "##."],
}


def solid(colour):
    return lambda row: colour


# --- Title screen ---------------------------------------------------------------------------------------

HORIZON = SCREEN_HEIGHT // 2
NIGHT_ROWS = 16
SKY_BAND_ROWS = 14


def draw_title_sky(screen):
    """Night at the very top with stars, then eight bands of the cool ramp, light at the horizon."""
    screen.rect(0, 0, SCREEN_WIDTH, NIGHT_ROWS, BACKGROUND)
    for y in range(NIGHT_ROWS, HORIZON):
        band = (y - NIGHT_ROWS) // SKY_BAND_ROWS
        colour = SKY[7 - band]
        lighter = SKY[max(0, 6 - band)]
        dither = (y - NIGHT_ROWS) % SKY_BAND_ROWS >= SKY_BAND_ROWS - 2
        for x in range(SCREEN_WIDTH):
            screen.put(x, y, lighter if dither and (x + y) % 2 == 0 else colour)
    stars = Noise(7)
    for _ in range(40):
        x, y = stars.below(SCREEN_WIDTH), stars.below(NIGHT_ROWS + 2 * SKY_BAND_ROWS)
        screen.put(x, y, WHITE if stars.below(3) == 0 else GREY[1])


def draw_title_sun(screen):
    """A setting sun in rings of the warm ramp, cut off by the horizon."""
    sun = Canvas(SCREEN_WIDTH, HORIZON, 255)
    for radius, colour in ((27, WARM[3]), (23, WARM[4]), (18, WARM[5]), (12, WARM[6]), (6, WARM[7])):
        sun.disc(264, 110, radius, colour)
    screen.blit(sun, 0, 0, transparent=255)


def draw_title_clouds(screen):
    for cx, cy, radius, colour in ((48, 104, 10, GREY[2]), (66, 97, 14, GREY[1]), (84, 104, 10, GREY[2]),
                                   (64, 104, 9, GREY[0]), (215, 118, 6, GREY[2]), (225, 114, 8, GREY[1])):
        screen.disc(cx, cy, radius, colour)


def draw_title_lake(screen):
    """A lake below the horizon in the cool ramp with wave crests and the sun's reflection."""
    for y in range(HORIZON, 200):
        depth = (y - HORIZON) // 10
        for x in range(SCREEN_WIDTH):
            crest = (x + 5 * (y % 6)) % 28 < 5 and y % 3 == 0
            screen.put(x, y, SKY[1] if crest else SKY[min(7, 2 + depth)])
    for step, y in enumerate(range(HORIZON + 2, 170, 3)):
        half = max(2, 26 - step * 2)
        screen.rect(264 - half, y, 2 * half, 1, WARM[5] if step % 2 == 0 else WARM[4])


def draw_title_hills(screen):
    """Two green hills in rings of the green ramp, with round bushes."""
    for cx, cy, radius in ((80, 236, 84), (250, 250, 90)):
        for ring, colour in enumerate(GREEN[::-1]):
            screen.disc(cx, cy, radius - ring * 4, colour)
    for cx, cy in ((40, 178), (120, 170), (214, 182), (290, 176)):
        screen.disc(cx, cy, 6, GREEN[0])
        screen.disc(cx - 1, cy - 1, 3, GREEN[2])


def draw_title_ground(screen):
    """A band of earth with a grass edge between the hills and the checkerboard floor."""
    screen.rect(0, 200, SCREEN_WIDTH, 2, GREEN[4])
    screen.rect(0, 202, SCREEN_WIDTH, 14, BROWN)
    specks = Noise(11)
    for _ in range(220):
        screen.put(specks.below(SCREEN_WIDTH), 202 + specks.below(14), DARK_BROWN)


def draw_title_checkerboard(screen):
    """A checkerboard floor whose squares widen towards the bottom, with a few balls on it."""
    for y in range(216, SCREEN_HEIGHT):
        cell_width = 10 + (y - 216) // 4
        for x in range(SCREEN_WIDTH):
            light = ((x - 160) // cell_width + (y - 216) // 10) % 2 == 0
            screen.put(x, y, GREY[2] if light else BACKGROUND)
    for cx, cy, radius, body, shine in ((48, 236, 9, WARM[2], WARM[5]), (150, 244, 8, GREEN[3], GREEN[5]),
                                        (236, 232, 10, SKY[4], SKY[0]), (296, 246, 7, WARM[4], WARM[7])):
        screen.disc(cx, cy + radius - 2, radius, GREY[5])  # shadow
        screen.disc(cx, cy, radius, body)
        screen.disc(cx - radius / 3, cy - radius / 3, radius / 3, shine)


def draw_title_text(screen):
    """ "TAVRIK" in big gold block letters with a shadow, and "DEMO" smaller below."""
    gold = [WARM[7], WARM[6], WARM[5], WARM[4], WARM[3], WARM[2], WARM[1]]
    screen.text(FONT_5X7, "TAVRIK", 24, 20, 8, solid(GREY[5]))
    screen.text(FONT_5X7, "TAVRIK", 20, 16, 8, lambda row: gold[row])
    screen.text(FONT_5X7, "DEMO", 128, 88, 3, solid(GREY[5]))
    screen.text(FONT_5X7, "DEMO", 126, 86, 3, solid(WHITE))


def draw_title_screen():
    screen = Canvas(SCREEN_WIDTH, SCREEN_HEIGHT)
    draw_title_sky(screen)
    draw_title_sun(screen)
    draw_title_clouds(screen)
    draw_title_lake(screen)
    draw_title_hills(screen)
    draw_title_ground(screen)
    draw_title_checkerboard(screen)
    draw_title_text(screen)
    return screen


# --- Tile set -------------------------------------------------------------------------------------------

def tile(colour=OBJECT_SKY):
    return Canvas(TILE_SIZE, TILE_SIZE, colour)


def tile_empty():
    return tile(BACKGROUND)


def tile_sky(base, dither, every):
    """Plain sky with a sparse regular dither of the next lighter colour."""
    result = tile(base)
    for y in range(0, TILE_SIZE, 2):
        for x in range((y // 2) % every, TILE_SIZE, every):
            result.put(x, y, dither)
    return result


def tile_sky_stars():
    result = tile(SKY[7])
    for x, y, colour in ((3, 2, WHITE), (11, 5, GREY[1]), (6, 10, GREY[0]), (14, 13, WHITE), (1, 14, GREY[2])):
        result.put(x, y, colour)
    return result


def cloud_strip():
    """A cloud three tiles wide on the object sky, cut into its left, middle and right tiles."""
    strip = Canvas(3 * TILE_SIZE, TILE_SIZE, OBJECT_SKY)
    for cx, cy, radius, colour in ((10, 11, 6, GREY[1]), (22, 8, 8, GREY[0]), (34, 9, 7, GREY[0]),
                                   (40, 11, 5, GREY[1]), (22, 12, 4, WHITE), (14, 12, 3, WHITE)):
        strip.disc(cx, cy, radius, colour)
    return strip


def tile_cloud(part):
    return cloud_strip().crop(part * TILE_SIZE, 0, TILE_SIZE, TILE_SIZE)


def tile_cloud_small():
    result = tile()
    result.disc(6, 10, 4, GREY[1])
    result.disc(10, 8, 5, GREY[0])
    result.disc(9, 9, 2, WHITE)
    return result


def tile_bricks(brick, mortar, shade, variant="plain"):
    """Bricks 8 x 4 in staggered rows; variants add a cap, a crack, moss or a window."""
    result = tile(brick)
    for y in range(TILE_SIZE):
        row = y // 4
        for x in range(TILE_SIZE):
            if y % 4 == 3 or (x + (row % 2) * 4) % 8 == 7:
                result.put(x, y, mortar)
            elif y % 4 == 2:
                result.put(x, y, shade)
    if variant == "cap":
        result.rect(0, 0, TILE_SIZE, 3, GREY[1])
        result.rect(0, 3, TILE_SIZE, 1, GREY[4])
    elif variant == "cracked":
        for step in range(12):
            result.put(3 + step - step // 3, 2 + step, BACKGROUND)
    elif variant == "mossy":
        moss = Noise(5)
        for _ in range(30):
            result.put(moss.below(TILE_SIZE), moss.below(6), GREEN[moss.below(3) + 2])
    elif variant == "window":
        result.rect(4, 3, 8, 10, GREY[1])
        result.rect(5, 4, 6, 8, BACKGROUND)
        result.rect(5, 7, 6, 1, GREY[1])
        result.rect(7, 4, 1, 8, GREY[1])
    return result


def dirt_into(canvas, top, base, speck, seed):
    canvas.rect(0, top, TILE_SIZE, TILE_SIZE - top, base)
    specks = Noise(seed)
    for _ in range(2 * (TILE_SIZE - top)):
        canvas.put(specks.below(TILE_SIZE), top + specks.below(TILE_SIZE - top), speck)


GRASS_BLADES = [0, 2, 1, 3, 0, 1, 2, 0, 3, 1, 0, 2, 1, 0, 2, 3]


def tile_grass(base=BROWN, speck=DARK_BROWN, flower=False, seed=3):
    """Grass blades over a strip of turf over dirt."""
    result = tile()
    dirt_into(result, 7, base, speck, seed)
    for x in range(TILE_SIZE):
        for y in range(4 - GRASS_BLADES[x], 4):
            result.put(x, y, GREEN[4])
        result.rect(x, 4, 1, 3 + (x % 3 == 0), GREEN[3])
        result.put(x, 4, GREEN[5])
    if flower:
        result.rect(6, 1, 1, 4, GREEN[2])
        for dx, dy in ((-1, 0), (1, 0), (0, -1), (0, 1)):
            result.put(6 + dx, 1 + dy, WARM[6])
        result.put(6, 1, WARM[3])
    return result


def tile_grass_end(side):
    """The end of a grass strip: the turf rounds off and the dirt shows a cliff edge."""
    result = tile_grass()
    for y in range(TILE_SIZE):
        for x in range(max(0, 3 - y // 2)):
            result.put(x, y, OBJECT_SKY)
        result.put(max(0, 3 - y // 2), y, DARK_BROWN if y >= 7 else GREEN[2])
    return result if side == "left" else result.mirrored()


def tile_grass_tall():
    result = tile()
    for x in range(0, TILE_SIZE, 2):
        height = 4 + (x * 5) % 7
        for y in range(TILE_SIZE - height, TILE_SIZE):
            result.put(x + (y % 4 == 0), y, GREEN[2 + x % 3])
    return result


def tile_dirt(base, speck, seed, extra=None):
    result = tile()
    dirt_into(result, 0, base, speck, seed)
    if extra == "stones":
        for cx, cy, radius in ((4, 5, 2.2), (11, 10, 3.0), (6, 13, 1.6)):
            result.disc(cx, cy, radius, GREY[3])
            result.put(int(cx) - 1, int(cy) - 1, GREY[1])
    elif extra == "roots":
        for y in range(TILE_SIZE):
            result.put(5 + (y // 3) % 2, y, WARM[0])
            if y > 6:
                result.put(5 + (y - 6), y, WARM[0])
    return result


WAVE = [0, 0, 1, 1, 2, 2, 2, 1, 1, 0, 0, 0]


def tile_water_surface(phase):
    """Sky above a wavy water line; three phases make the waves move."""
    result = tile()
    for x in range(TILE_SIZE):
        top = 5 + WAVE[(x + 4 * phase) % len(WAVE)]
        result.put(x, top, SKY[0])
        result.rect(x, top + 1, 1, TILE_SIZE - top - 1, SKY[5])
        result.rect(x, 12, 1, 4, SKY[6])
    return result


def tile_water_deep(base, ripple, seed, bubbles=False):
    result = tile(base)
    dashes = Noise(seed)
    for _ in range(6):
        x, y = dashes.below(TILE_SIZE - 3), dashes.below(TILE_SIZE)
        result.rect(x, y, 3, 1, ripple)
    if bubbles:
        for cx, cy, radius in ((5, 10, 2.5), (10, 4, 1.8), (11, 12, 1.2)):
            result.disc(cx, cy, radius, SKY[0])
            result.disc(cx, cy, radius - 1, base)
    return result


def tile_stone(variant="block"):
    """A bevelled stone block, or a stone with a crack, moss, cobbles or slabs."""
    result = tile(GREY[2])
    if variant == "cobble":
        result = tile(GREY[5])
        for cx, cy, colour in ((4, 4, GREY[1]), (12, 4, GREY[2]), (4, 12, GREY[3]), (12, 12, GREY[1])):
            result.disc(cx, cy, 3.6, colour)
        return result
    if variant == "slab":
        for y in range(TILE_SIZE):
            result.rect(0, y, TILE_SIZE, 1, GREY[(y // 4) % 3 + 1] if y % 4 else GREY[5])
        return result
    result.rect(0, 0, TILE_SIZE, 1, GREY[0])
    result.rect(0, 0, 1, TILE_SIZE, GREY[0])
    result.rect(0, TILE_SIZE - 1, TILE_SIZE, 1, GREY[5])
    result.rect(TILE_SIZE - 1, 0, 1, TILE_SIZE, GREY[5])
    if variant == "cracked":
        for step in range(9):
            result.put(8 + (step % 3) - 1, 2 + step, GREY[5])
    elif variant == "mossy":
        moss = Noise(9)
        for _ in range(28):
            result.put(moss.below(TILE_SIZE), moss.below(7), GREEN[moss.below(4)])
    return result


def tile_boulder():
    result = tile()
    result.ellipse(8, 10, 7.5, 6, GREY[4])
    result.ellipse(7, 9, 6, 4.5, GREY[3])
    result.ellipse(5.5, 7.5, 2.5, 1.5, GREY[1])
    return result


def tile_platform(part):
    """A wooden plank with rivets floating in the sky; the ends are rounded."""
    result = tile()
    result.rect(0, 0, TILE_SIZE, 7, BROWN)
    result.rect(0, 0, TILE_SIZE, 1, WARM[4])
    result.rect(0, 6, TILE_SIZE, 1, DARK_BROWN)
    for x in (3, 12):
        result.put(x, 3, GREY[0])
    if part == "middle":
        return result
    for y, cut in ((0, 2), (1, 1), (5, 1), (6, 2)):
        result.rect(0, y, cut, 1, OBJECT_SKY)
    return result if part == "left" else result.mirrored()


def tile_planks():
    result = tile(BROWN)
    for x in range(0, TILE_SIZE, 4):
        result.rect(x, 0, 1, TILE_SIZE, DARK_BROWN)
        result.put(x + 2, 3 + x // 2, WARM[1])
    return result


def tile_girder():
    result = tile()
    result.rect(0, 2, TILE_SIZE, 2, WARM[2])
    result.rect(0, 12, TILE_SIZE, 2, WARM[2])
    for i in range(8):
        result.put(i, 4 + i, WARM[1])
        result.put(8 + i, 11 - i, WARM[1])
    result.put(2, 3, GREY[0])
    result.put(13, 12, GREY[0])
    return result


def tile_crate():
    result = tile(BROWN)
    result.rect(0, 0, TILE_SIZE, 2, WARM[3])
    result.rect(0, 14, TILE_SIZE, 2, DARK_BROWN)
    result.rect(0, 0, 2, TILE_SIZE, WARM[3])
    result.rect(14, 0, 2, TILE_SIZE, DARK_BROWN)
    for i in range(2, 14):
        result.put(i, i, WARM[3])
        result.put(15 - i, i, WARM[3])
    return result


def tile_ladder(top=False):
    result = tile()
    start = 4 if top else 0
    result.rect(2, start, 2, TILE_SIZE - start, BROWN)
    result.rect(12, start, 2, TILE_SIZE - start, BROWN)
    for y in range(start + 1, TILE_SIZE, 4):
        result.rect(4, y, 8, 1, WARM[4])
    if top:
        result.rect(1, 3, 4, 1, WARM[3])
        result.rect(11, 3, 4, 1, WARM[3])
    return result


def tile_rope():
    result = tile()
    for y in range(TILE_SIZE):
        result.put(7, y, WARM[5] if y % 4 < 2 else BROWN)
        result.put(8, y, BROWN if y % 4 < 2 else WARM[5])
    return result


def tile_chain():
    result = tile()
    for y in range(0, TILE_SIZE, 8):
        result.ellipse(8, y + 2, 2.5, 3.5, GREY[1])
        result.ellipse(8, y + 2, 1.2, 2.2, OBJECT_SKY)
        result.rect(7, y + 6, 2, 2, GREY[3])
    return result


def tile_coin(half_width):
    """A spinning coin: the frames differ in how wide the coin shows."""
    result = tile()
    if half_width == 0:  # edge on
        result.rect(7, 2, 2, 13, WARM[4])
        result.rect(7, 4, 1, 4, WARM[7])
        return result
    result.ellipse(8, 8, half_width + 0.5, 6.5, WARM[4])
    if half_width > 1:
        result.ellipse(8, 8, half_width - 0.7, 5.3, WARM[6])
        result.put(8 - half_width // 2, 5, WHITE)
    return result


ITEM_LEGEND = {".": OBJECT_SKY, "w": WHITE, "o": BACKGROUND, "r": WARM[2], "d": WARM[1], "y": WARM[6],
               "Y": WARM[4], "g": GREEN[4], "G": GREEN[2], "l": GREEN[5]}

ITEM_ART = {
    "gem": ["................", "....gggggggg....", "...gllwglllgg...", "..gllwgllllggg..", ".gggggggggggGGG.",
            "..gllllllllgGG..", "...glllllllgG...", "....gllllllG....", ".....glllllG....", "......glllG.....",
            ".......glG......", "........G.......", "................", "................", "................",
            "................"],
    "key": ["................", "...YYYY.........", "..YyyyyY........", ".Yyy..yyY.......", ".Yy....yY.......",
            ".Yy....yYYYYYYY.", ".Yy....yyyyyyyyY", ".Yyy..yyYYYYyYyY", "..YyyyyY....Y.Y.", "...YYYY.....Y.Y.",
            "................", "................", "................", "................", "................",
            "................"],
    "heart": ["................", "..dddd....dddd..", ".drrrrd..drrrrd.", "drwwrrrddrrrrrrd", "drwrrrrrrrrrrrrd",
              "drrrrrrrrrrrrrrd", "drrrrrrrrrrrrrrd", ".drrrrrrrrrrrrd.", "..drrrrrrrrrrd..", "...drrrrrrrrd...",
              "....drrrrrrd....", ".....drrrrd.....", "......drrd......", ".......dd.......", "................",
              "................"],
    "star": [".......YY.......", ".......YY.......", "......YyyY......", "......YyyY......", ".....YyyyyY.....",
             "YYYYYYyyyyYYYYYY", ".YyyyyyyyyyyyyY.", "..YyyyyyyyyyyY..", "...YyyyyyyyyY...", "....YyyyyyyY....",
             "....YyyyyyyY....", "...YyyyYYyyyY...", "...YyyY..YyyY...", "..YyyY....YyyY..", "..YYY......YYY..",
             "................"],
}


def tile_item(name):
    return canvas_from_art(ITEM_ART[name], ITEM_LEGEND)


def tile_glyph(char):
    """A letter or digit for the score line: white with a shadow on the background colour."""
    result = tile(BACKGROUND)
    result.glyph(FONT_5X7, char, 4, 2, 2, solid(GREY[4]))
    result.glyph(FONT_5X7, char, 3, 1, 2, solid(WHITE))
    return result


def tile_gradient(kind):
    result = tile()
    for y in range(TILE_SIZE):
        for x in range(TILE_SIZE):
            if kind == "warm across":
                colour = WARM[x // 2]
            elif kind == "green down":
                colour = GREEN[min(5, (y * 6 + 3 * (x % 2)) // 16)]
            elif kind == "grey diagonal":
                colour = GREY[min(5, (x + y) * 6 // 31)]
            else:
                colour = SKY[y // 2]
            result.put(x, y, colour)
    return result


def tile_spikes():
    result = tile()
    result.rect(0, 13, TILE_SIZE, 3, GREY[4])
    for base in (0, 8):
        for y in range(13):
            half = (y + 1) * 4 // 13
            result.rect(base + 4 - half, y, half, 1, GREY[0])
            result.rect(base + 4, y, half, 1, GREY[3])
    return result


def tile_door(part):
    """A wooden door in the castle wall: the top holds the arch, the bottom the handle."""
    result = tile_bricks(WARM[2], GREY[3], WARM[1])
    top = 4 if part == "top" else 0
    result.rect(2, top, 12, TILE_SIZE - top, BROWN)
    for x in (5, 8, 11):
        result.rect(x, top, 1, TILE_SIZE - top, DARK_BROWN)
    if part == "top":
        result.rect(3, 2, 10, 2, BROWN)
        result.rect(2, 4, 12, 1, WARM[4])
    else:
        result.rect(11, 6, 2, 2, WARM[6])
    return result


def tile_checker():
    result = tile()
    for y in range(TILE_SIZE):
        for x in range(TILE_SIZE):
            result.put(x, y, WHITE if (x // 4 + y // 4) % 2 == 0 else GREY[5])
    return result


def tree_picture():
    """A tree two tiles wide: crown above, trunk below, on the object sky."""
    tree = Canvas(2 * TILE_SIZE, 2 * TILE_SIZE, OBJECT_SKY)
    tree.rect(13, 14, 6, 18, BROWN)
    for y in range(16, 32, 3):
        tree.put(14 + y % 4, y, DARK_BROWN)
    tree.disc(16, 9, 11, GREEN[1])
    tree.disc(14, 8, 8, GREEN[3])
    tree.disc(12, 6, 3, GREEN[4])
    return tree


def tile_tree(column, row):
    return tree_picture().crop(column * TILE_SIZE, row * TILE_SIZE, TILE_SIZE, TILE_SIZE)


def tile_bush():
    result = tile()
    result.ellipse(8, 16, 8, 9, GREEN[1])
    result.ellipse(6, 14, 4, 5, GREEN[3])
    result.put(5, 11, GREEN[5])
    return result


def tile_torch():
    result = tile()
    result.rect(7, 8, 2, 8, BROWN)
    result.rect(6, 7, 4, 1, GREY[3])
    result.ellipse(8, 5, 3, 4, WARM[3])
    result.ellipse(8, 5.5, 1.8, 2.6, WARM[5])
    result.ellipse(8, 6, 0.8, 1.2, WARM[7])
    return result


def tile_flag():
    result = tile()
    result.rect(2, 0, 1, TILE_SIZE, GREY[1])
    result.rect(3, 1, 11, 7, WARM[2])
    result.rect(7, 3, 3, 3, WHITE)
    return result


SKY_TILES = 1  # dark, middle, object sky, stars
OBJECT_SKY_TILE = SKY_TILES + 2
CLOUD_TILES = 5
BRICK_TILES = 9
GRASS_TILES = 17
DIRT_TILES = 23
WATER_TILES = 27
STONE_TILES = 33
PLATFORM_TILES = 39  # left, middle, right, planks, girder
CRATE = 44
LADDER_TILES = 45
COIN_TILES = 49
ITEM_TILES = 53
DIGIT_TILES = 57
LETTER_TILES = 67
TILE_LETTERS = "ACDEIKLMNORSTV"
GRADIENT_TILES = 81
SPIKES, DOOR_TOP, DOOR_BOTTOM, CHECKER = 85, 86, 87, 88
TREE_TILES = 89  # trunk left, trunk right, crown left, crown right
BUSH, TORCH, FLAG = 93, 94, 95


def draw_tile_set():
    """The 96 tiles in their order in memory, group by group; each group starts at its constant above."""
    red, mortar, shade = WARM[2], GREY[3], WARM[1]
    groups = [
        (0, [tile_empty()]),
        (SKY_TILES, [tile_sky(SKY[7], SKY[6], 4), tile_sky(SKY[5], SKY[4], 3), tile(OBJECT_SKY),
                     tile_sky_stars()]),
        (CLOUD_TILES, [tile_cloud(0), tile_cloud(1), tile_cloud(2), tile_cloud_small()]),
        (BRICK_TILES, [tile_bricks(red, mortar, shade), tile_bricks(red, mortar, shade, "cap"),
                       tile_bricks(BROWN, GREY[4], DARK_BROWN), tile_bricks(GREY[2], GREY[5], GREY[3]),
                       tile_bricks(WARM[1], GREY[5], WARM[0]), tile_bricks(red, mortar, shade, "cracked"),
                       tile_bricks(red, mortar, shade, "mossy"), tile_bricks(red, mortar, shade, "window")]),
        (GRASS_TILES, [tile_grass(), tile_grass_end("left"), tile_grass_end("right"), tile_grass(flower=True),
                       tile_grass_tall(), tile_grass(DARK_BROWN, BROWN, seed=4)]),
        (DIRT_TILES, [tile_dirt(BROWN, DARK_BROWN, 1), tile_dirt(BROWN, DARK_BROWN, 2, "stones"),
                      tile_dirt(DARK_BROWN, BROWN, 3), tile_dirt(BROWN, DARK_BROWN, 4, "roots")]),
        (WATER_TILES, [tile_water_surface(0), tile_water_surface(1), tile_water_surface(2),
                       tile_water_deep(SKY[6], SKY[5], 1), tile_water_deep(SKY[7], SKY[6], 2),
                       tile_water_deep(SKY[6], SKY[5], 3, bubbles=True)]),
        (STONE_TILES, [tile_stone(), tile_stone("cracked"), tile_stone("cobble"), tile_stone("slab"),
                       tile_stone("mossy"), tile_boulder()]),
        (PLATFORM_TILES, [tile_platform("left"), tile_platform("middle"), tile_platform("right"), tile_planks(),
                          tile_girder()]),
        (CRATE, [tile_crate()]),
        (LADDER_TILES, [tile_ladder(), tile_ladder(top=True), tile_rope(), tile_chain()]),
        (COIN_TILES, [tile_coin(6), tile_coin(4), tile_coin(2), tile_coin(0)]),
        (ITEM_TILES, [tile_item(name) for name in ("gem", "key", "heart", "star")]),
        (DIGIT_TILES, [tile_glyph(digit) for digit in "0123456789"]),
        (LETTER_TILES, [tile_glyph(letter) for letter in TILE_LETTERS]),
        (GRADIENT_TILES, [tile_gradient(kind) for kind in ("warm across", "green down", "grey diagonal",
                                                            "cool down")]),
        (SPIKES, [tile_spikes(), tile_door("top"), tile_door("bottom"), tile_checker()]),
        (TREE_TILES, [tile_tree(0, 1), tile_tree(1, 1), tile_tree(0, 0), tile_tree(1, 0)]),
        (BUSH, [tile_bush(), tile_torch(), tile_flag()]),
    ]
    tiles = []
    for first, group in groups:
        assert len(tiles) == first, "tile group at %d starts at %d" % (first, len(tiles))
        tiles += group
    assert len(tiles) == TILE_COUNT, "tile set holds %d tiles" % len(tiles)
    assert len({bytes(t.pixels) for t in tiles}) == TILE_COUNT, "two tiles are the same"
    return tiles


def draw_tile_sheet(tiles):
    """The tiles as the ripper's sheet shows them with 16 x 16 tiles, 20 to a row; cells past the set stay 0."""
    sheet = Canvas(SHEET_WIDTH, SHEET_HEIGHT)
    for number, picture in enumerate(tiles):
        sheet.blit(picture, (number % SHEET_COLUMNS) * TILE_SIZE, (number // SHEET_COLUMNS) * TILE_SIZE)
    return sheet


# --- Sprites --------------------------------------------------------------------------------------------

SPRITE_ART = {
    "ship": [".......33.......", ".......33.......", "......3223......", "......3223......", ".....322223.....",
             ".....321123.....", "....32211223....", "...3222112223...", "..322222222223..", ".32223322332223.",
             "3222311331132223", "322311.33.113223", "32311..11..11323", "331....11....133", ".......1.1......",
             "......1...1....."],
    "ball": [".....111111.....", "...1122222211...", "..122222222221..", ".12223322222221.", ".12233332222221.",
             "1222333222222221", "1222232222222221", "1222222222222221", "1222222222222221", "1222222222222221",
             "1222222222222211", ".12222222222211.", ".12222222222111.", "..122222221111..", "...1111111111...",
             ".....111111....."],
    "star": [".......33.......", ".......33.......", "......3223......", "......3223......", ".....322223.....",
             "3333332222333333", ".32222222222223.", "..322222222223..", "...3222222223...", "....32222223....",
             "....32222223....", "...3222332223...", "...3223..3223...", "..3223....3223..", "..333......333..",
             "................"],
    "arrow": ["................", "........1.......", "........11......", "........121.....", "........1221....",
              "........12221...", "111111111222221.", "1333333333222221", "1333333333222221", "111111111222221.",
              "........12221...", "........1221....", "........121.....", "........11......", "........1.......",
              "................"],
    "heart": ["................", "..1111....1111..", ".122221..122221.", "12332221122222 1".replace(" ", "2"),
              "1232222222222221", "1222222222222221", "1222222222222221", ".12222222222221.", "..122222222221..",
              "...1222222221...", "....12222221....", ".....122221.....", "......1221......", ".......11.......",
              "................", "................"],
    "face": [".....111111.....", "...1133333311...", "..133333333331..", ".13333333333331.", ".13311333311331.",
             "1333113333113331", "1333333333333331", "1333333333333331", "1333333333333331", "1331333333331331",
             "1333133333313331", ".13331111113331.", ".13333333333331.", "..133333333331..", "...1133333311...",
             ".....111111....."],
    "mushroom": [".....111111.....", "...1122222211...", "..122332222221..", ".12233332233221.",
                 ".12223322333321.", "1222222223332221", "1223322222222221", "1111111111111111",
                 "....13333331....", "....13313131....", "....13313131....", "....13333331....",
                 "....13333331....", ".....111111.....", "................", "................"],
    "key": ["................", "...111..........", "..13331.........", ".1322231........", ".132.231........",
            ".1322231111111..", "..13333333333331", "...111131131331.", "......1311.131..", ".......11...1...",
            "................", "................", "................", "................", "................",
            "................"],
}
SPRITE_NAMES = ["ship", "ball", "star", "arrow", "heart", "face", "mushroom", "key"]


def draw_sprites():
    """Each sprite as 2-bit values 0 to 3 (0 shows the background)."""
    legend = {".": 0, "1": 1, "2": 2, "3": 3}
    sprites = [canvas_from_art(SPRITE_ART[name], legend) for name in SPRITE_NAMES]
    assert all(s.width == 16 and s.height == SPRITE_HEIGHT for s in sprites)
    assert len({bytes(s.pixels) for s in sprites}) == len(sprites), "two sprites are the same"
    return sprites


# --- Level map ------------------------------------------------------------------------------------------

GROUND_ROW = 26
WATER_COLUMNS = range(22, 30)


def place_sky(level):
    for row in range(2, GROUND_ROW):
        band = SKY_TILES if row < 6 else SKY_TILES + 1 if row < 10 else SKY_TILES + 2
        for column in range(MAP_WIDTH):
            level[row][column] = band
    for row, column in ((2, 7), (3, 19), (2, 31), (4, 44), (3, 58), (5, 26), (4, 3)):
        level[row][column] = SKY_TILES + 3
    for row, column in ((11, 8), (11, 33)):
        for part in range(3):
            level[row][column + part] = CLOUD_TILES + part
    for row, column in ((15, 24), (12, 56), (16, 46)):
        level[row][column] = CLOUD_TILES + 3


def place_hud(level):
    """The score line in letter and digit tiles over a bar of gradient tiles."""
    line = " SCORE 004250  LIVES 3   TAVRIK DEMO   TIME 789   LEVEL 16"
    assert len(line) <= MAP_WIDTH
    for column, char in enumerate(line):
        if char.isdigit():
            level[0][column] = DIGIT_TILES + int(char)
        elif char != " ":
            level[0][column] = LETTER_TILES + TILE_LETTERS.index(char)
    for column in range(MAP_WIDTH):
        level[1][column] = GRADIENT_TILES + column % 4


def place_ground(level):
    """Grass over dirt, broken by a pool of water with a grass end on each bank."""
    soil = Noise(21)
    for column in range(MAP_WIDTH):
        if column in WATER_COLUMNS:
            level[GROUND_ROW][column] = WATER_TILES + column % 3
            for row in range(GROUND_ROW + 1, MAP_HEIGHT):
                level[row][column] = WATER_TILES + (3 if row < 29 else 4)
            continue
        level[GROUND_ROW][column] = GRASS_TILES + (3 if column % 9 == 4 else 5 if column >= 50 else 0)
        for row in range(GROUND_ROW + 1, MAP_HEIGHT):
            pick = soil.below(10)
            level[row][column] = DIRT_TILES + (2 if row == MAP_HEIGHT - 1 else 1 if pick < 2 else
                                               3 if pick == 2 and row == GROUND_ROW + 1 else 0)
            if column >= 50 and row == GROUND_ROW + 1:
                level[row][column] = DIRT_TILES + 2
    level[GROUND_ROW][WATER_COLUMNS[0] - 1] = GRASS_TILES + 2
    level[GROUND_ROW][WATER_COLUMNS[-1] + 1] = GRASS_TILES + 1
    level[28][24] = WATER_TILES + 5
    level[27][27] = WATER_TILES + 5
    level[GROUND_ROW][48] = CHECKER
    level[GROUND_ROW][49] = CHECKER


def place_row(level, row, first, tiles):
    for offset, number in enumerate(tiles):
        level[row][first + offset] = number


def place_platforms(level):
    """Floating planks, a girder, a brick ledge, a bridge and a wooden block, with coins and items."""
    place_row(level, 21, 5, [PLATFORM_TILES] + [PLATFORM_TILES + 1] * 4 + [PLATFORM_TILES + 2])
    place_row(level, 20, 6, [COIN_TILES + i for i in range(4)])
    place_row(level, 17, 14, [PLATFORM_TILES + 4] * 6)
    place_row(level, 16, 15, [COIN_TILES + (i + 1) % 4 for i in range(4)])
    place_row(level, 13, 36, [BRICK_TILES + 1] * 9)
    place_row(level, 12, 39, [ITEM_TILES, OBJECT_SKY_TILE, ITEM_TILES + 1])
    place_row(level, 19, 24, [BRICK_TILES + 2] * 5)
    for row in range(20, GROUND_ROW):
        level[row][26] = BRICK_TILES + 3
    place_row(level, 14, 3, [PLATFORM_TILES + 3] * 3)
    level[13][4] = ITEM_TILES + 3
    place_row(level, 11, 52, [BRICK_TILES + 4] * 4)
    level[10][53] = ITEM_TILES + 2


def place_climbing(level):
    """Ladders from the planks and the girder to the ground, a chain and a rope under the brick ledge."""
    for column, top_row in ((11, 21), (20, 17)):
        level[top_row][column] = LADDER_TILES + 1
        for row in range(top_row + 1, GROUND_ROW):
            level[row][column] = LADDER_TILES
    for row in range(14, 17):
        level[row][38] = LADDER_TILES + 3
    for row in range(14, 20):
        level[row][43] = LADDER_TILES + 2


def place_stones(level):
    """A stair of stone blocks by the pool and a boulder on the bank."""
    steps = {25: [0, 1, 0, 4, 0], 24: [3, 0, 1, 3], 23: [4, 0, 1], 22: [3, 0]}
    for row, kinds in steps.items():
        first = 36 - len(kinds)
        place_row(level, row, first, [STONE_TILES + kind for kind in kinds])
    level[25][30] = STONE_TILES + 5
    level[25][31] = STONE_TILES + 2


def place_castle(level):
    """A brick castle with battlements, windows, a door, torches and a flag."""
    for column in range(52, 63):
        if column % 2 == 0:
            level[17][column] = BRICK_TILES + 1
        for row in range(18, GROUND_ROW):
            level[row][column] = BRICK_TILES
    for row, column, kind in ((20, 54, 7), (20, 60, 7), (22, 53, 5), (19, 61, 6), (24, 52, 6), (23, 62, 5)):
        level[row][column] = BRICK_TILES + kind
    level[24][57] = DOOR_TOP
    level[25][57] = DOOR_BOTTOM
    level[16][52] = TORCH
    level[16][62] = TORCH
    level[16][56] = FLAG


def place_scenery(level):
    """Trees, bushes, tall grass, spikes and crates along the ground."""
    for column in (1, 15):
        place_row(level, 24, column, [TREE_TILES + 2, TREE_TILES + 3])
        place_row(level, 25, column, [TREE_TILES, TREE_TILES + 1])
    for column in (4, 18, 45):
        level[25][column] = BUSH
    for column in (8, 13, 33):
        level[25][column] = GRASS_TILES + 4
    for column in (40, 41, 42):
        level[25][column] = SPIKES
    place_row(level, 25, 46, [CRATE, CRATE])
    level[24][47] = CRATE


def draw_level_map():
    level = [[0] * MAP_WIDTH for _ in range(MAP_HEIGHT)]
    place_sky(level)
    place_hud(level)
    place_ground(level)
    place_platforms(level)
    place_climbing(level)
    place_stones(level)
    place_castle(level)
    place_scenery(level)
    values = bytes(value for row in level for value in row)
    assert len(values) == MAP_WIDTH * MAP_HEIGHT and max(values) < TILE_COUNT
    return values


# --- C64 tiles ------------------------------------------------------------------------------------------

C64_ART = [
    ["0000"] * 8, ["1111"] * 8, ["2222"] * 8, ["3333"] * 8,
    ["3333", "2122", "2122", "2122", "3333", "2221", "2221", "2221"],  # bricks
    ["0000", "0330", "3223", "3223", "3223", "3223", "0330", "0000"],  # coin
    ["1010", "0101", "1010", "0101", "1010", "0101", "1010", "0101"],  # checker
    ["0101", "1010", "0101", "1010", "0101", "1010", "0101", "1010"],  # checker, other phase
    ["1111", "0000", "2222", "0000", "3333", "0000", "1111", "0000"],  # stripes across
    ["1230", "1230", "1230", "1230", "1230", "1230", "1230", "1230"],  # stripes down
    ["0000", "0100", "1110", "0100", "0000", "0010", "0111", "0010"],  # sparkles
    ["3030", "3333", "2222", "2222", "2222", "2222", "3333", "3333"],  # grass over dirt
    ["0000", "1001", "0110", "0000", "0000", "1001", "0110", "0000"],  # water waves
    ["3223", "3223", "3333", "3223", "3223", "3333", "3223", "3223"],  # ladder
    ["0000", "0110", "1221", "1221", "0110", "0000", "0000", "0000"],  # ball
    ["0000", "1001", "1111", "1111", "0110", "0000", "0000", "0000"],  # heart
    ["0000", "0110", "1221", "2332", "1221", "0110", "0000", "0000"],  # diamond
    ["0100", "1110", "1111", "0100", "0100", "0100", "0100", "0000"],  # arrow up
    ["0000", "0100", "0100", "0100", "0100", "1111", "1110", "0100"],  # arrow down
    ["0000", "0100", "1100", "3333", "3333", "1100", "0100", "0000"],  # arrow left
    ["0000", "0010", "0011", "3333", "3333", "0011", "0010", "0000"],  # arrow right
    ["0000", "0000", "0000", "0000", "1111", "2222", "3333", "3333"],  # rising floor
    ["1100", "1100", "0011", "0011", "1100", "1100", "0011", "0011"],  # big checker
    ["0110", "1331", "1331", "0110", "0220", "0220", "0220", "2222"],  # tree
    ["2000", "2110", "2111", "2110", "2000", "2000", "2000", "2000"],  # flag
    ["0000", "0120", "0120", "3333", "3333", "0120", "0120", "0000"],  # cross
    ["0000", "0000", "1000", "2100", "3210", "3321", "3332", "3333"],  # slope
    ["3333", "2332", "1221", "0110", "0000", "0000", "0000", "0000"],  # icicles
]
C64_GLYPHS = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"


def c64_glyph(char):
    """A 3 x 5 character in wide pixels of value 1 over a baseline of value 2."""
    tile_picture = Canvas(4, 8)
    tile_picture.glyph(FONT_3X5, char, 0, 1, 1, solid(1))
    tile_picture.rect(0, 7, 4, 1, 2)
    return tile_picture


def draw_c64_tiles():
    """Each tile as 4 x 8 wide pixels of values 0 to 3."""
    legend = {str(value): value for value in range(4)}
    tiles = [c64_glyph(char) for char in C64_GLYPHS] + [canvas_from_art(art, legend) for art in C64_ART]
    assert len(tiles) >= 64 and len(tiles) % C64_SHEET_COLUMNS == 0, "%d C64 tiles" % len(tiles)
    assert len({bytes(t.pixels) for t in tiles}) == len(tiles), "two C64 tiles are the same"
    return tiles


# --- Planar encoding ------------------------------------------------------------------------------------

def plane_bytes(canvas, y, plane):
    """One row of one bitplane, the leftmost pixel in the most significant bit."""
    row = bytearray()
    for start in range(0, canvas.width, 8):
        value = 0
        for bit in range(8):
            if (canvas.get(start + bit, y) >> plane) & 1:
                value |= 0x80 >> bit
        row.append(value)
    return bytes(row)


def encode_acbm(canvas, planes):
    """Plane after plane, each plane row after row."""
    return b"".join(plane_bytes(canvas, y, p) for p in range(planes) for y in range(canvas.height))


def encode_ilbm(canvas, planes):
    """Row after row, each row plane after plane."""
    return b"".join(plane_bytes(canvas, y, p) for y in range(canvas.height) for p in range(planes))


def encode_sprite(canvas):
    """Per row a word of plane 0 (bit 0 of the values) then a word of plane 1 (bit 1)."""
    return b"".join(plane_bytes(canvas, y, p) for y in range(canvas.height) for p in range(2))


def encode_c64_tile(canvas):
    """Per row one byte: four 2-bit pixels, the leftmost in bits 7-6."""
    return bytes(sum(canvas.get(x, y) << (6 - 2 * x) for x in range(4)) for y in range(8))


# --- Copper list ----------------------------------------------------------------------------------------

def move(register, value):
    return struct.pack(">HH", register, value)


def build_copper_list(plane_addresses):
    """Top palette, bitplane pointers, display window and fetch, modulos, BPLCON0; then at the middle
    line the lower-half colours; then the end marker."""
    code = b"".join(move(REG_COLOR00 + 2 * i, word) for i, word in enumerate(TOP_PALETTE))
    for plane, address in enumerate(plane_addresses):
        code += move(REG_BPL1PTH + 4 * plane, address >> 16) + move(REG_BPL1PTH + 4 * plane + 2, address & 0xFFFF)
    code += move(REG_DIWSTRT, DIWSTRT_VALUE) + move(REG_DIWSTOP, DIWSTOP_VALUE)
    code += move(REG_DDFSTRT, DDFSTRT_VALUE) + move(REG_DDFSTOP, DDFSTOP_VALUE)
    code += move(REG_BPL1MOD, 0) + move(REG_BPL2MOD, 0) + move(REG_BPLCON0, BPLCON0_VALUE)
    code += struct.pack(">HH", *MID_SCREEN_WAIT)
    code += b"".join(move(REG_COLOR00 + 2 * index, word) for index, word in LOWER_HALF_CHANGES)
    return code + struct.pack(">HH", *COPPER_END)


def build_copper_list_2():
    """The second copper list: nothing to do."""
    return struct.pack(">HH", *COPPER_END)


# --- Chip RAM and the save state ------------------------------------------------------------------------

def title_plane_addresses():
    return [TITLE_ADDRESS + plane * PLANE_BYTES for plane in range(SCREEN_PLANES)]


def chip_ram_layout(title, tiles, sprites, level):
    """The blocks of chip RAM as (name, address, bytes, bytes of zeros that must follow)."""
    sheet_spare = (SHEET_COLUMNS * SHEET_ROWS - TILE_COUNT) * TILE_BYTES
    return [
        ("CopperList", COPPER_LIST_ADDRESS, build_copper_list(title_plane_addresses()), 0),
        ("CopperList2", COPPER_LIST_2_ADDRESS, build_copper_list_2(), 0),
        ("TitleScreen", TITLE_ADDRESS, encode_acbm(title, SCREEN_PLANES), 0),
        ("TilesAcbm", TILES_ACBM_ADDRESS, b"".join(encode_acbm(t, TILE_PLANES) for t in tiles), sheet_spare),
        ("TilesIlbm", TILES_ILBM_ADDRESS, b"".join(encode_ilbm(t, TILE_PLANES) for t in tiles), sheet_spare),
        ("Sprites", SPRITES_ADDRESS, b"".join(encode_sprite(s) for s in sprites), 0),
        ("LevelMap", LEVEL_MAP_ADDRESS, level, 0),
    ]


def build_chip_ram(layout):
    chip = bytearray(CHIP_RAM_SIZE)
    ends = []
    for name, address, data, spare in sorted(layout, key=lambda block: block[1]):
        assert address % 16 == 0, "%s is not aligned" % name
        assert not ends or address >= ends[-1] + 256, "%s lies too close to the block before it" % name
        assert address + len(data) + spare <= CHIP_RAM_SIZE
        chip[address:address + len(data)] = data
        ends.append(address + len(data) + spare)
    return bytes(chip)


def filler(length):
    """The 1 to 4 zero bytes that follow a chunk of the given length: the next chunk is at (L + 4) and not 3."""
    return bytes(((length + 4) & ~3) - length)


def build_header():
    header_length = 16 + len(STATE_DESCRIPTION)
    header = STATE_MAGIC + struct.pack(">III", header_length, STATE_VERSION, 0) + STATE_DESCRIPTION
    return header + filler(header_length)


def build_compressed_chunk(name, data):
    stream = zlib.compress(data, 9)
    length = 16 + len(stream)
    return name + struct.pack(">III", length, FLAG_COMPRESSED, len(data)) + stream + filler(length)


def build_chip_chunk():
    chunk = bytearray(CHIP_CHUNK_LENGTH)
    chunk[0:12] = b"CHIP" + struct.pack(">II", CHIP_CHUNK_LENGTH, 0)
    struct.pack_into(">II", chunk, CHIP_COP1LC, COPPER_LIST_ADDRESS, COPPER_LIST_2_ADDRESS)
    struct.pack_into(">HHHH", chunk, CHIP_DIWSTRT, DIWSTRT_VALUE, DIWSTOP_VALUE, DDFSTRT_VALUE, DDFSTOP_VALUE)
    for plane, address in enumerate(title_plane_addresses()):
        struct.pack_into(">I", chunk, CHIP_BPL1PT + 4 * plane, address)
    struct.pack_into(">HH", chunk, CHIP_BPL1MOD, 0, 0)
    struct.pack_into(">32H", chunk, CHIP_COLOR00, *saved_palette())
    return bytes(chunk) + filler(CHIP_CHUNK_LENGTH)


def build_save_state(chip_ram):
    return (build_header() + build_compressed_chunk(b"CRAM", chip_ram) + build_chip_chunk()
            + b"END " + struct.pack(">I", END_CHUNK_LENGTH))


# --- Reading back: the loader's chunk walk, the decoders and the copper walk ----------------------------

def long_at(data, offset):
    return struct.unpack_from(">I", data, offset)[0]


def word_at(data, offset):
    return struct.unpack_from(">H", data, offset)[0]


def read_save_state(data):
    """Walks the chunks as the loader does, builds the uncompressed copy and checks every filler."""
    assert data[0:4] == STATE_MAGIC
    header_length = long_at(data, 4)
    offset = (header_length + 4) & ~3
    assert data[header_length:offset] == bytes(offset - header_length), "header filler is not zero"
    state = {"Description": data[16:header_length].replace(b"\0", b" ").decode("ascii").strip(), "Chunks": []}
    copy = bytearray(data[:offset])
    while offset < len(data):
        start, name, length = offset, data[offset:offset + 4], long_at(data, offset + 4)
        state["Chunks"].append((name.decode("ascii"), start, length))
        if name == b"END ":
            copy += b"END " + struct.pack(">I", END_CHUNK_LENGTH)
            offset = start + END_CHUNK_LENGTH
            break
        offset = start + ((length + 4) & ~3)
        gap = offset - (start + length)
        assert 1 <= gap <= 4 and data[start + length:offset] == bytes(gap), "bad filler after %s" % name
        if long_at(data, start + 8) == FLAG_COMPRESSED:
            size = long_at(data, start + 12)
            inflated = zlib.decompress(data[start + 16:start + length])
            assert len(inflated) >= size
            copy += name + struct.pack(">II", size + 12, 0)
            if name == b"CRAM":
                state["ChipRamOffset"], state["ChipRamSize"] = len(copy), size
            copy += inflated[:size] + bytes(4 - (size & 3))
        else:
            if name == b"CRAM":
                state["ChipRamOffset"], state["ChipRamSize"] = len(copy) + 12, length - 12
            copy += data[start:offset]
        if name == b"CHIP":
            state["Chip"] = read_chip_registers(data, start)
    assert offset == len(data), "bytes follow the END chunk"
    state["Copy"] = bytes(copy)
    return state


def read_chip_registers(data, start):
    return {
        "COP1LC": long_at(data, start + CHIP_COP1LC), "COP2LC": long_at(data, start + CHIP_COP2LC),
        "DIWSTRT": word_at(data, start + CHIP_DIWSTRT), "DIWSTOP": word_at(data, start + CHIP_DIWSTOP),
        "DDFSTRT": word_at(data, start + CHIP_DDFSTRT), "DDFSTOP": word_at(data, start + CHIP_DDFSTOP),
        "BPLPT": [long_at(data, start + CHIP_BPL1PT + 4 * n) for n in range(8)],
        "BPL1MOD": word_at(data, start + CHIP_BPL1MOD), "BPL2MOD": word_at(data, start + CHIP_BPL2MOD),
        "Colours": [word_at(data, start + CHIP_COLOR00 + 2 * n) for n in range(32)],
    }


def add_plane_row(picture, memory, position, y, plane):
    """Adds one bitplane row read from memory to the pixels (the planes add, as in the ripper);
    returns the position after it."""
    for column in range(picture.width // 8):
        byte = memory[position + column]
        for bit in range(8):
            if byte & (0x80 >> bit):
                picture.pixels[y * picture.width + column * 8 + bit] += 1 << plane
    return position + picture.width // 8


def decode_acbm(memory, offset, width, height, planes):
    """"Amiga ACBM": the tile's planes one after the other."""
    picture = Canvas(width, height)
    position = offset
    for plane in range(planes):
        for y in range(height):
            position = add_plane_row(picture, memory, position, y, plane)
    return picture


def decode_ilbm(memory, offset, width, height, planes):
    """"Amiga ILBM": the planes interleaved row by row."""
    picture = Canvas(width, height)
    position = offset
    for y in range(height):
        for plane in range(planes):
            position = add_plane_row(picture, memory, position, y, plane)
    return picture


def decode_sprite(memory, offset):
    """"Sprites" mode with 2 bitplanes and bank "Sprite 0/1": a set bit ORs 16 | 2^plane into its pixel."""
    picture = Canvas(16, SPRITE_HEIGHT)
    position = offset
    for y in range(SPRITE_HEIGHT):
        for plane in range(2):
            word = word_at(memory, position)
            position += 2
            for bit in range(16):
                if word & (0x8000 >> bit):
                    picture.pixels[y * 16 + bit] |= SPRITE_BANK_BASE | (1 << plane)
    return picture


def decode_c64(memory, offset):
    """The C64 multicolour decoder: per row a byte of four 2-bit values, each two pixels wide."""
    picture = Canvas(8, 8)
    for y in range(8):
        byte = memory[offset + y]
        for pair in range(4):
            value = (byte >> (6 - 2 * pair)) & 3
            picture.put(2 * pair, y, value)
            picture.put(2 * pair + 1, y, value)
    return picture


def decode_sheet(memory, offset, decoder):
    """A 320 x 80 rip of 16 x 16 tiles, 5 planes, tile after tile from consecutive memory."""
    sheet = Canvas(SHEET_WIDTH, SHEET_HEIGHT)
    for number in range(SHEET_COLUMNS * SHEET_ROWS):
        picture = decoder(memory, offset + number * TILE_BYTES, TILE_SIZE, TILE_SIZE, TILE_PLANES)
        sheet.blit(picture, (number % SHEET_COLUMNS) * TILE_SIZE, (number // SHEET_COLUMNS) * TILE_SIZE)
    return sheet


def walk_copper_list(memory, chip_ram_offset, chip_ram_size, chip, stop_line):
    """Follows COP1LC as the program's walk does; returns the 32 colour words and the last BPLCON0."""
    colours = list(chip["Colours"])
    pointers = {0x080: chip["COP1LC"], 0x084: chip["COP2LC"]}
    position = chip_ram_offset + chip["COP1LC"]
    end = chip_ram_offset + chip_ram_size
    last_bplcon0 = 0
    for _ in range(10000):
        if position >= end:
            break
        w1, w2, w3, w4 = struct.unpack_from(">4H", memory, position)
        if w1 % 2 == 0 and w1 < 0x200:
            name = CUSTOM_REGISTER_NAMES.get(w1, "")
            if w3 == w1 + 2 and w1 < 0x1EC and name[:-1] + "L" == CUSTOM_REGISTER_NAMES.get(w1 + 2, ""):
                if w1 in pointers:
                    pointers[w1] = (w2 << 16) | w4
                position += 4
            elif w3 == w1 - 2 and w1 >= 0x22 and name[:-1] + "H" == CUSTOM_REGISTER_NAMES.get(w1 - 2, ""):
                if w1 - 2 in pointers:
                    pointers[w1 - 2] = (w4 << 16) | w2
                position += 4
            elif w1 in (0x080, 0x084):
                pointers[w1] = (w2 << 16) | (pointers[w1] & 0xFFFF)
            elif w1 in (0x082, 0x086):
                pointers[w1 - 2] = (pointers[w1 - 2] & 0xFFFF0000) | w2
        if w1 % 2 == 0 and 0x180 <= w1 <= 0x1BE:
            colours[(w1 - 0x180) // 2] = w2
        if w1 in (0x088, 0x08A):
            position = pointers[0x080 if w1 == 0x088 else 0x084] + chip_ram_offset - 4
        if w1 % 2 == 1 and (w1 & 0xFF00) > stop_line * 256:
            break
        if (w1, w2) == COPPER_END:
            break
        if w1 == REG_BPLCON0 and w2 & 0xF000:
            last_bplcon0 = w2
        position += 4
    return colours, last_bplcon0


def verify_save_state(data, layout, title, tiles, sprites, level):
    state = read_save_state(data)
    assert state["Description"] == STATE_DESCRIPTION.rstrip(b"\0").decode("ascii")
    assert [name for name, _, _ in state["Chunks"]] == ["CRAM", "CHIP", "END "]
    assert state["ChipRamSize"] == CHIP_RAM_SIZE
    offset, copy, chip = state["ChipRamOffset"], state["Copy"], state["Chip"]
    assert offset == chip_ram_offset(), "chip RAM offset %d" % offset
    for name, address, block, spare in layout:
        stored = copy[offset + address:offset + address + len(block) + spare]
        assert stored == block + bytes(spare), "%s differs in chip RAM" % name
    assert chip["COP1LC"] == COPPER_LIST_ADDRESS and chip["COP2LC"] == COPPER_LIST_2_ADDRESS
    assert (chip["DIWSTRT"], chip["DIWSTOP"], chip["DDFSTRT"], chip["DDFSTOP"]) == (
        DIWSTRT_VALUE, DIWSTOP_VALUE, DDFSTRT_VALUE, DDFSTOP_VALUE)
    assert chip["BPLPT"] == title_plane_addresses() + [0, 0, 0] and chip["BPL1MOD"] == chip["BPL2MOD"] == 0
    assert chip["Colours"] == saved_palette()
    assert ((DDFSTOP_VALUE & 0xFE) - (DDFSTRT_VALUE & 0xFE)) * 2 == 304

    top, bplcon0 = walk_copper_list(copy, offset, CHIP_RAM_SIZE, chip, STOP_LINE_DEFAULT)
    assert top == TOP_PALETTE and bplcon0 == BPLCON0_VALUE, "the walk to line 128 misses the top palette"
    lower, _ = walk_copper_list(copy, offset, CHIP_RAM_SIZE, chip, STOP_LINE_MAX)
    assert lower == saved_palette(), "the walk past the middle misses the lower-half colours"

    decoded = decode_acbm(copy, offset + TITLE_ADDRESS, SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_PLANES)
    assert decoded.pixels == title.pixels, "title screen decodes differently"
    sheet = draw_tile_sheet(tiles)
    for address, decoder in ((TILES_ACBM_ADDRESS, decode_acbm), (TILES_ILBM_ADDRESS, decode_ilbm)):
        assert decode_sheet(copy, offset + address, decoder).pixels == sheet.pixels, "tile sheet differs"
    for number, sprite in enumerate(sprites):
        decoded = decode_sprite(copy, offset + SPRITES_ADDRESS + number * SPRITE_BYTES)
        expected = bytes(SPRITE_BANK_BASE + v if v else 0 for v in sprite.pixels)
        assert bytes(decoded.pixels) == expected, "sprite %d decodes differently" % number
    assert copy[offset + LEVEL_MAP_ADDRESS:offset + LEVEL_MAP_ADDRESS + len(level)] == level
    return state


def verify_c64_file(data, tiles):
    assert len(data) == len(tiles) * C64_TILE_BYTES
    for number, picture in enumerate(tiles):
        decoded = decode_c64(data, number * C64_TILE_BYTES)
        assert all(decoded.get(x, y) == picture.get(x // 2, y) for y in range(8) for x in range(8))


def chip_ram_offset():
    """Where chip RAM begins in the loaded (uncompressed) state: after the padded header and the
    rewritten 12-byte header of the "CRAM" chunk, which comes first."""
    header_length = 16 + len(STATE_DESCRIPTION)
    return ((header_length + 4) & ~3) + 12


# --- Index pictures, manifest, README -------------------------------------------------------------------

def pgm(canvas):
    return b"P5\n%d %d\n255\n" % (canvas.width, canvas.height) + bytes(canvas.pixels)


def hex_text(value):
    return "$%X" % value


RIPPER_MODES = ["Amiga ACBM", "Amiga ILBM", "Atari ST", "Sprites", "C64"]


def ripper_settings(mode, bitplanes, tile_width, tile_height, rip_width, rip_height):
    return {"Mode": mode, "ModeIndex": RIPPER_MODES.index(mode), "Bitplanes": bitplanes, "TileWidth": tile_width, "TileHeight": tile_height,
            "RipWidth": rip_width, "RipHeight": rip_height}


def located(address, offset):
    return {"Address": address, "AddressText": hex_text(address), "FileOffset": offset + address,
            "FileOffsetText": hex_text(offset + address)}


def build_manifest(offset, chunks, c64_count):
    """Facts about the demo data for the tests and the README; offsets count in the loaded state."""
    tiles_settings = ripper_settings("Amiga ACBM", TILE_PLANES, TILE_SIZE, TILE_SIZE, SHEET_WIDTH, SHEET_HEIGHT)
    ilbm_settings = dict(tiles_settings, Mode="Amiga ILBM", ModeIndex=1)
    sprite_settings = ripper_settings("Sprites", 2, 16, SPRITE_HEIGHT, 16 * len(SPRITE_NAMES), SPRITE_HEIGHT)
    sprite_settings["SpriteMode"] = "Sprite 0/1"
    c64_rows = c64_count // C64_SHEET_COLUMNS
    return {
        "SaveState": "demo.uss",
        "Description": STATE_DESCRIPTION.rstrip(b"\0").decode("ascii"),
        "ChipRamOffset": offset, "ChipRamOffsetText": hex_text(offset),
        "ChipRamSize": CHIP_RAM_SIZE, "ChipRamSizeText": hex_text(CHIP_RAM_SIZE),
        "Chunks": [{"Name": name, "Offset": start, "Length": length} for name, start, length in chunks],
        "Display": {"COP1LC": COPPER_LIST_ADDRESS, "COP2LC": COPPER_LIST_2_ADDRESS, "DIWSTRT": DIWSTRT_VALUE,
                    "DIWSTOP": DIWSTOP_VALUE, "DDFSTRT": DDFSTRT_VALUE, "DDFSTOP": DDFSTOP_VALUE,
                    "BPL1MOD": 0, "BPL2MOD": 0, "BPLCON0": BPLCON0_VALUE, "Width": 304,
                    "BitplanePointers": title_plane_addresses()},
        "CopperList": dict(located(COPPER_LIST_ADDRESS, offset), MidScreenWait=list(MID_SCREEN_WAIT),
                           MidScreenLine=MID_SCREEN_WAIT[0] >> 8, StopLineForTopPalette=STOP_LINE_DEFAULT),
        "CopperList2": located(COPPER_LIST_2_ADDRESS, offset),
        "TopPalette": [amiga_colour_text(word) for word in TOP_PALETTE],
        "TopPaletteWords": ["$%04X" % word for word in TOP_PALETTE],
        "LowerHalfChanges": [{"Index": index, "Register": "COLOR%02d" % index, "Word": "$%04X" % word,
                              "Colour": amiga_colour_text(word)} for index, word in LOWER_HALF_CHANGES],
        "SavedPalette": [amiga_colour_text(word) for word in saved_palette()],
        "TitleScreen": dict(located(TITLE_ADDRESS, offset), Width=SCREEN_WIDTH, Height=SCREEN_HEIGHT,
                            Planes=SCREEN_PLANES, PlaneBytes=PLANE_BYTES, Indexes="title-indexes.pgm",
                            Ripper=ripper_settings("Amiga ACBM", SCREEN_PLANES, SCREEN_WIDTH, SCREEN_HEIGHT,
                                                   SCREEN_WIDTH, SCREEN_HEIGHT)),
        "TilesAcbm": dict(located(TILES_ACBM_ADDRESS, offset), Count=TILE_COUNT, BytesPerTile=TILE_BYTES,
                          Indexes="tileset-indexes.pgm", Ripper=tiles_settings),
        "TilesIlbm": dict(located(TILES_ILBM_ADDRESS, offset), Count=TILE_COUNT, BytesPerTile=TILE_BYTES,
                          Indexes="tileset-indexes.pgm", Ripper=ilbm_settings),
        "Sprites": dict(located(SPRITES_ADDRESS, offset), Count=len(SPRITE_NAMES), BytesPerSprite=SPRITE_BYTES,
                        Names=SPRITE_NAMES, Ripper=sprite_settings),
        "LevelMap": dict(located(LEVEL_MAP_ADDRESS, offset), Width=MAP_WIDTH, Height=MAP_HEIGHT,
                         MemoryType="Byte", Direction="Horizontal", Tiles="TilesAcbm"),
        "C64Tiles": {"File": "c64tiles.bin", "FileOffset": 0, "FileOffsetText": "$0", "Count": c64_count,
                     "BytesPerTile": C64_TILE_BYTES,
                     "Ripper": ripper_settings("C64", 2, 8, 8, 8 * C64_SHEET_COLUMNS, 8 * c64_rows)},
    }


def settings_text(ripper):
    text = 'Mode "%s", Bitplanes %d, Bpl Width %d, Bpl Height %d, Rip Width %d, Rip Height %d' % (
        ripper["Mode"], ripper["Bitplanes"], ripper["TileWidth"], ripper["TileHeight"], ripper["RipWidth"],
        ripper["RipHeight"])
    return text + (', "%s"' % ripper["SpriteMode"] if "SpriteMode" in ripper else "")


def paragraph(text):
    return textwrap.fill(text, width=100) + "\n"


def build_readme(manifest, sizes):
    """The README of this folder, from the same facts as the manifest."""
    offset = manifest["ChipRamOffset"]
    planes = ", ".join(hex_text(address) for address in title_plane_addresses())
    files = [
        ("demo.uss", 'save state: a zlib-compressed "CRAM" chunk of 512 KB chip RAM, the "CHIP" registers, "END "'),
        ("c64tiles.bin", "%d C64 multicolour tiles of 8 bytes (a raw file)" % manifest["C64Tiles"]["Count"]),
        ("title-indexes.pgm", "the colour indexes of the title screen, 320 x 256 (binary PGM)"),
        ("tileset-indexes.pgm", "the tile sheet of the 96 tiles as ripped at 320 x 80 (binary PGM)"),
        ("demo-manifest.json", "every address, offset, setting and palette below, for the tests"),
    ]
    things = [
        ("Copper list: top palette, bitplane pointers, display, BPLCON0 $5200, wait for line $AC, lower colours",
         manifest["CopperList"], '"Copperlist" button (stop line 128 gives the top palette); listing on "Info"'),
        ("Title screen 320 x 256, 5 planes one after the other", manifest["TitleScreen"],
         settings_text(manifest["TitleScreen"]["Ripper"])),
        ("96 tiles 16 x 16, 5 planes, ACBM, 160 bytes each", manifest["TilesAcbm"],
         settings_text(manifest["TilesAcbm"]["Ripper"])),
        ("The same 96 tiles, ILBM", manifest["TilesIlbm"], settings_text(manifest["TilesIlbm"]["Ripper"])),
        ("8 hardware sprites 16 x 16: %s" % ", ".join(SPRITE_NAMES), manifest["Sprites"],
         settings_text(manifest["Sprites"]["Ripper"])),
        ("Level map 64 x 32 bytes, each a tile number of the tile set", manifest["LevelMap"],
         '"Map Ripper" with the ACBM tiles ripped: Width 64, Height 32, Type "Byte", Format "Horizontal"'),
    ]
    text = "# Demo data\n\n"
    text += paragraph("Everything in this folder is drawn by make_demo.py from code: no picture, font or game "
                      "data comes from anywhere else. Regenerate it, the same bytes every time, with:")
    text += "\n```sh\npython3 examples/make_demo.py\n```\n\n"
    text += "| File | Size | What it is |\n|---|---|---|\n"
    text += "".join("| `%s` | %d bytes | %s |\n" % (name, sizes[name], what) for name, what in files)
    text += "\n## Inside demo.uss\n\n"
    text += paragraph("Loading the state inflates chip RAM, which then begins at offset %s of the loaded state; "
                      "the offsets below count there, as in a state written by \"Save Uncompressed State...\". "
                      "In an address field type either the offset or the chip RAM address after a \"+\" (for "
                      "example +$10000)." % hex_text(offset))
    text += "\n| What | Chip RAM address | Offset | How to see it |\n|---|---|---|---|\n"
    text += "".join("| %s | %s | %s | %s |\n" % (what, place["AddressText"], place["FileOffsetText"], how)
                    for what, place, how in things)
    text += "\n"
    text += paragraph("The saved registers describe a 320 x 256 lowres display of 5 bitplanes: COP1LC %s, "
                      "COP2LC %s (a list that only ends), DIWSTRT $2C81, DIWSTOP $2CC1, DDFSTRT $38, DDFSTOP "
                      "$D0, BPL1PT to BPL5PT at the planes of the title screen (%s), both modulos 0. The saved "
                      "colour registers hold what the copper list set last, the palette of the lower half. "
                      "Walking the copper list with the stop line at 128 gives the top palette; a stop line of "
                      "$AC or more passes the wait and gives the lower one, where the sky's cool ramp becomes "
                      "a sea and the background turns to earth."
                      % (hex_text(COPPER_LIST_ADDRESS), hex_text(COPPER_LIST_2_ADDRESS), planes))
    text += "\n## c64tiles.bin\n\n"
    text += paragraph("Open it as a raw file and rip from address 0 with %s: digits, the letters A to Z, then "
                      "bricks, coins, arrows and other small patterns in four colours."
                      % settings_text(manifest["C64Tiles"]["Ripper"]))
    return text


# --- Main -----------------------------------------------------------------------------------------------

def write(name, data):
    with open(os.path.join(HERE, name), "wb") as file:
        file.write(data)


def main():
    title = draw_title_screen()
    tiles = draw_tile_set()
    sprites = draw_sprites()
    level = draw_level_map()
    c64_tiles = draw_c64_tiles()

    layout = chip_ram_layout(title, tiles, sprites, level)
    state_bytes = build_save_state(build_chip_ram(layout))
    state = verify_save_state(state_bytes, layout, title, tiles, sprites, level)
    c64_bytes = b"".join(encode_c64_tile(t) for t in c64_tiles)
    verify_c64_file(c64_bytes, c64_tiles)

    manifest = build_manifest(state["ChipRamOffset"], state["Chunks"], len(c64_tiles))
    manifest_bytes = (json.dumps(manifest, indent=2) + "\n").encode("ascii")
    outputs = {"demo.uss": state_bytes, "c64tiles.bin": c64_bytes, "title-indexes.pgm": pgm(title),
               "tileset-indexes.pgm": pgm(draw_tile_sheet(tiles)), "demo-manifest.json": manifest_bytes}
    sizes = {name: len(data) for name, data in outputs.items()}
    outputs["README.md"] = build_readme(manifest, sizes).encode("ascii")
    for name, data in outputs.items():
        write(name, data)
    with open(os.path.join(HERE, "demo.uss"), "rb") as file:
        verify_save_state(file.read(), layout, title, tiles, sprites, level)
    for name in sorted(outputs):
        print("%-22s %7d bytes" % (name, len(outputs[name])))


if __name__ == "__main__":
    main()
