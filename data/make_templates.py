#!/usr/bin/env python3
"""Writes the 31 block template files of Orvalis into data/templates/.

One base drawing per family; the other members of a family are its exact quarter turns
(x, y) -> (y, 7 - x), in the order MazeBlock::Rotate steps through them, with every wall piece's
digit turned as game/wall_pieces.h says (Rotated_Wall_Digit). The committed .txt files are the
data; this tool only authored them. Run it from anywhere: python3 data/make_templates.py

Symbols of the base drawings (rows top to bottom, cells left to right):
  '#' wall: the digit is chosen from the floor beside it ('2'..'5' the lit face towards the floor,
      south, then north, east, west first; '1' when no floor touches it)
  'M' mossy wall '6', 'C' cracked wall '7' (solid, turn-invariant)
  'P' pillar '8', 'R' rubble '9' (blocked pieces standing on floor)
  'a' solid object, 'z' random-object spot, '.' floor '0', 'D' door square (floor '0'; the door
      codes are written by MazeBlock::Load_Template)
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "templates")

BASES = {
    # corner, open south and west; turns into 0, 2, 3
    1: [
        "C######M",
        "#a..z###",
        "#..R..##",
        "......z#",
        ".......#",
        "#z...a.#",
        "##....##",
        "M##..##C",
    ],
    # T-junction without north; turns into 5, 6, 7
    4: [
        "C######C",
        "#za..az#",
        "#......#",
        "..P..P..",
        "........",
        "#R.....#",
        "##z...a#",
        "M##..###",
    ],
    # straight east-west; its turn is 9, and its half turn is itself
    8: [
        "C######M",
        "#a.z#..#",
        "#...#.R#",
        "........",
        "........",
        "#R.#...#",
        "#..#z.a#",
        "M######C",
    ],
    # the crossing: never turned
    10: [
        "M##..##C",
        "#a....z#",
        "#.P..P.#",
        "........",
        "........",
        "#.P..P.#",
        "#z....a#",
        "C##..##M",
    ],
    # dead end open south, its door one square inside the exit; turns into 12, 13, 14
    11: [
        "C######M",
        "#az..za#",
        "#......#",
        "#.P..P.#",
        "#......#",
        "#z....R#",
        "###DD###",
        "M##..##C",
    ],
}

# The crossing's decoration layer ("10c.txt"): letters 'a'..'m' name wall frames 0..12 ('j' vines,
# 'k' mosaic, 'l' rune, 'm' bones); '0' draws nothing.
CROSSING_DECOR = [
    "0j0000j0",
    "0000l000",
    "00000000",
    "0l0kk000",
    "000kk0l0",
    "00000000",
    "j00l0m0j",
    "00000000",
]

FAMILIES = {1: [1, 0, 2, 3], 4: [4, 5, 6, 7], 8: [8, 9], 11: [11, 12, 13, 14]}

WALLS = "#MC"
ROTATED_DIGIT = {"2": "3", "3": "4", "4": "5", "5": "2"}  # lit face south -> east -> north -> west
FIXED = {"M": "6", "C": "7", "P": "8", "R": "9", "a": "a", "z": "z", ".": "0", "D": "0"}


def cell(rows, x, y):
    return rows[y][x]


def face_digit(rows, x, y):
    # Lit face towards the floor: south, north, east, west, in that order of preference.
    for dx, dy, digit in ((0, 1, "2"), (0, -1, "4"), (1, 0, "3"), (-1, 0, "5")):
        nx, ny = x + dx, y + dy
        if 0 <= nx < 8 and 0 <= ny < 8 and cell(rows, nx, ny) not in WALLS:
            return digit
    return "1"


def to_template(rows):
    out = []
    for y in range(8):
        line = ""
        for x in range(8):
            s = cell(rows, x, y)
            line += face_digit(rows, x, y) if s == "#" else FIXED[s]
        out.append(line)
    return out


def turn(rows, digits=True):
    """A quarter turn: the character at (x, y) goes to (y, 7 - x)."""
    grid = [[" "] * 8 for _ in range(8)]
    for y in range(8):
        for x in range(8):
            c = rows[y][x]
            grid[7 - x][y] = ROTATED_DIGIT.get(c, c) if digits else c
    return ["".join(r) for r in grid]


def floor_for(rows):
    """Floor tiles: 'a' ground, 'b' the paved lanes from every opening to the centre, 'c' the
    centre plaza, 'd' worn tiles under objects and rubble."""
    grid = [["a"] * 8 for _ in range(8)]
    for y in range(8):
        for x in range(8):
            if cell(rows, x, y) in "aR":
                grid[y][x] = "d"
    lanes = []
    if rows[0][3] not in WALLS:
        lanes += [(x, y) for y in range(0, 3) for x in (3, 4)]
    if rows[7][3] not in WALLS:
        lanes += [(x, y) for y in range(5, 8) for x in (3, 4)]
    if rows[3][0] not in WALLS:
        lanes += [(x, y) for x in range(0, 3) for y in (3, 4)]
    if rows[3][7] not in WALLS:
        lanes += [(x, y) for x in range(5, 8) for y in (3, 4)]
    for x, y in lanes:
        if cell(rows, x, y) not in WALLS:
            grid[y][x] = "b"
    for x, y in ((3, 3), (4, 3), (3, 4), (4, 4)):
        grid[y][x] = "c"
    return ["".join(r) for r in grid]


def half_turn_symmetric(rows):
    """Makes a drawing equal to its own half turn by copying the left half turned onto the right."""
    half = turn(turn(rows))
    return [rows[y][:4] + half[y][4:] for y in range(8)]


def write(name, rows):
    with open(os.path.join(OUT, name), "w", newline="\n") as f:
        f.write("\n".join(rows) + "\n")


def main():
    os.makedirs(OUT, exist_ok=True)
    for base, members in FAMILIES.items():
        drawing = BASES[base]
        template = to_template(drawing)
        floor = floor_for(drawing)
        if base == 8:
            template = half_turn_symmetric(template)
            floor = half_turn_symmetric(floor)
            assert turn(turn(template)) == template, "type 8 must equal its half turn"
        for t in members:
            write(f"{t}.txt", template)
            write(f"{t}b.txt", floor)
            template = turn(template)
            floor = turn(floor, digits=False)
        assert template == to_template(drawing) or base == 8, f"family {base} does not close"
    write("10.txt", to_template(BASES[10]))
    write("10b.txt", floor_for(BASES[10]))
    write("10c.txt", CROSSING_DECOR)
    print(f"wrote 31 files to {OUT}", file=sys.stderr)


if __name__ == "__main__":
    main()
