#!/usr/bin/env python3
"""The view edges fit-all gives a preview of W x H pixels, from the report's JSON extents:
the same double operations in the same order as the core's FitViewToBox (0.9 of the limiting
direction, centred), printed so that they read back exactly.

fit-all-view.py REPORT_JSON W H   ->  LEFT,BOTTOM,RIGHT,TOP
"""
import json
import sys

extents = json.load(open(sys.argv[1], encoding="utf-8"))["extents"]
width, height = float(int(sys.argv[2])), float(int(sys.argv[3]))
left, bottom, right, top = extents
dx = abs(right - left)
dx = dx if dx > 1e-10 else 1e-10
dy = abs(top - bottom)
dy = dy if dy > 1e-10 else 1e-10
sx = width / dx * 0.9
sy = height / dy * 0.9
scale = sx if sx < sy else sy
cx, cy = (left + right) / 2.0, (bottom + top) / 2.0
edges = (cx - width / 2.0 / scale, cy - height / 2.0 / scale, cx + width / 2.0 / scale, cy + height / 2.0 / scale)
print(",".join(repr(e) for e in edges))
