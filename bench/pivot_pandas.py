#!/usr/bin/python3
"""The rounds analysis' pivot in pandas, for bench_pivot: the same rows read
from the same SQLite file, pivot_table with the same row and column fields,
summed. Prints the seconds of the read and of the pivot, and the pivot's size."""
import sqlite3
import sys
import time

import pandas as pd

QUERY = """SELECT a."Auction ID", a."Round", a."License Name", a."Market", a."Block", a."Submarket",
       m."Market Name", a."Bidder", a."Increments of Bid", a."Gross Bid Amount", a."Net Bid Amount"
FROM "All Bids" a, "Markets" m
WHERE a."Round" BETWEEN ? AND ? AND a."License Name" = m."License Name"
  AND a."Auction ID" = m."Auction ID" AND a."Round" = m."Round"
ORDER BY a."Round" """
COLUMNS = ["Market", "Block", "Submarket", "Market Name", "Bidder", "Increments of Bid"]


def main():
    path, first, last = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    start = time.perf_counter()
    with sqlite3.connect(path) as db:
        rows = pd.read_sql_query(QUERY, db, params=(first, last))
    read = time.perf_counter() - start
    start = time.perf_counter()
    pivot = pd.pivot_table(rows, index="Round", columns=COLUMNS, values="Gross Bid Amount", aggfunc="sum")
    made = time.perf_counter() - start
    print(f"{read:.4f} {made:.4f} {len(rows)} {pivot.shape[0]} {pivot.shape[1]}")


if __name__ == "__main__":
    main()
