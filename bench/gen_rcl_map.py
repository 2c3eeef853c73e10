#!/usr/bin/env python3
"""Writes a street-like road-centre-line map for the segment benchmarks, as CSV (x1,y1,x2,y2).

The streets run along a grid of blocks about --block metres across, its junctions moved a little
off the grid; every street between two junctions is a polyline of two to four straight pieces that
bend slightly, so each piece is one segment and pieces meet only at shared end points. About a
tenth of the streets are missing (irregular blocks, dead ends). The same arguments always give the
same map, on every machine.
"""
import argparse
import csv
import math
import random


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--segments", type=int, default=100000, help="about this many segments")
    parser.add_argument("--block", type=float, default=100.0, help="block size in metres")
    parser.add_argument("--variant", type=int, default=1, help="which map of this size")
    parser.add_argument("--out", required=True, help="the CSV file to write")
    args = parser.parse_args()

    # Each junction starts about two streets, each of three pieces on average, nine in ten kept.
    side = max(2, round(math.sqrt(args.segments / (2 * 3 * 0.9))))
    random_numbers = random.Random(args.variant)
    block = args.block
    junction = [[(column * block + random_numbers.uniform(-0.15, 0.15) * block,
                  row * block + random_numbers.uniform(-0.15, 0.15) * block)
                 for column in range(side)] for row in range(side)]

    with open(args.out, "w", newline="") as file:
        writer = csv.writer(file, lineterminator="\n")
        writer.writerow(["x1", "y1", "x2", "y2"])
        for row in range(side):
            for column in range(side):
                for to_row, to_column in ((row, column + 1), (row + 1, column)):
                    if to_row >= side or to_column >= side or random_numbers.random() < 0.1:
                        continue
                    write_street(writer, junction[row][column], junction[to_row][to_column],
                                 random_numbers.randint(2, 4), block, random_numbers)


def write_street(writer, start, end, pieces, block, random_numbers):
    (x1, y1), (x2, y2) = start, end
    length = math.hypot(x2 - x1, y2 - y1)
    # The unit normal, for the bends.
    nx, ny = (y1 - y2) / length, (x2 - x1) / length
    points = [start]
    for piece in range(1, pieces):
        share = piece / pieces
        offset = random_numbers.uniform(-0.04, 0.04) * block
        points.append((x1 + (x2 - x1) * share + nx * offset, y1 + (y2 - y1) * share + ny * offset))
    points.append(end)
    for (ax, ay), (bx, by) in zip(points, points[1:]):
        writer.writerow([f"{ax:.2f}", f"{ay:.2f}", f"{bx:.2f}", f"{by:.2f}"])


if __name__ == "__main__":
    main()
