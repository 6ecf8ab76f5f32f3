#!/usr/bin/env python3
"""Offsets of the IANA time-zone database for local clock readings.

Reads lines "zone<TAB>year<TAB>month<TAB>day<TAB>hour<TAB>minute" on standard input and
writes "utcOffsetSeconds<TAB>abbreviation<TAB>kind" for each, where the offset is the one
of the first reading (fold=0) and kind is "gap" for a reading the clocks skipped, "fold"
for one they showed twice, "-" otherwise. Uses Python's zoneinfo, a reader of the zone
files that has nothing in common with zdump, which the generator uses.
"""
import sys
from datetime import datetime, timezone
from zoneinfo import ZoneInfo

zones = {}
for line in sys.stdin:
    line = line.strip()
    if not line:
        continue
    name, *fields = line.split("\t")
    zone = zones.setdefault(name, ZoneInfo(name))
    year, month, day, hour, minute = map(int, fields)
    local = datetime(year, month, day, hour, minute, tzinfo=zone)
    first = local.utcoffset()
    second = local.replace(fold=1).utcoffset()
    back = local.astimezone(timezone.utc).astimezone(zone).replace(tzinfo=None)
    if back != local.replace(tzinfo=None):
        kind = "gap"
    elif first != second:
        kind = "fold"
    else:
        kind = "-"
    print(f"{int(first.total_seconds())}\t{local.tzname()}\t{kind}")
