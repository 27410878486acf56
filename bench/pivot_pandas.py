#!/usr/bin/python3
"""The rounds analysis' pivot in pandas, for bench_pivot: the same rows read
from the same SQLite file by the same statement (the one our engine runs,
given as the second argument), pivot_table with the same row and column
fields, summed. Prints the seconds of the read and of the pivot, the number
of rows and the pivot's size."""
import sqlite3
import sys
import time

import pandas as pd

COLUMNS = ["Market", "Block", "Submarket", "Market Name", "Bidder", "Increments of Bid"]


def main():
    path, query = sys.argv[1], sys.argv[2]
    start = time.perf_counter()
    with sqlite3.connect(path) as db:
        rows = pd.read_sql_query(query, db)
    read = time.perf_counter() - start
    start = time.perf_counter()
    pivot = pd.pivot_table(rows, index="Round", columns=COLUMNS, values="Gross Bid Amount", aggfunc="sum")
    made = time.perf_counter() - start
    print(f"{read:.4f} {made:.4f} {len(rows)} {pivot.shape[0]} {pivot.shape[1]}")


if __name__ == "__main__":
    main()
