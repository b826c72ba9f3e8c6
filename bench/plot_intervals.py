#!/usr/bin/env python3
"""Plots the interval lines that bench_realtime_accuracy prints as an SVG chart.

usage: plot_intervals.py ACCURACY.txt OUT.svg
"""
import sys

series = []
for line in open(sys.argv[1], encoding="utf-8"):
    if " intervals (ms):" in line:
        name, values = line.split(" intervals (ms):")
        series.append((name.strip(), [float(v) for v in values.split()]))

width, row, left = 640, 180, 70
out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{row * len(series) + 20}">',
       f'<rect width="100%" height="100%" fill="white"/>']
for i, (name, values) in enumerate(series):
    top = 20 + i * row
    mean = sum(values) / len(values)
    lo, hi = mean * 0.99, mean * 1.01  # the plot spans +-1 % of the nominal period
    plot_w, plot_h = width - left - 20, row - 60
    def y(v):
        return top + 25 + plot_h * (hi - min(max(v, lo), hi)) / (hi - lo)
    out.append(f'<text x="{left}" y="{top + 12}" font-family="sans-serif" font-size="13">{name}: '
               f'{len(values)} intervals, mean {mean:.2f} ms (axis +-1 %)</text>')
    out.append(f'<rect x="{left}" y="{top + 25}" width="{plot_w}" height="{plot_h}" fill="none" stroke="#888"/>')
    for v in (lo, mean, hi):
        out.append(f'<text x="{left - 6}" y="{y(v) + 4:.1f}" text-anchor="end" font-family="sans-serif" '
                   f'font-size="11">{v:.1f}</text>')
    out.append(f'<line x1="{left}" x2="{left + plot_w}" y1="{y(mean):.1f}" y2="{y(mean):.1f}" stroke="#ccc"/>')
    step = plot_w / max(1, len(values) - 1)
    points = " ".join(f"{left + k * step:.1f},{y(v):.1f}" for k, v in enumerate(values))
    out.append(f'<polyline points="{points}" fill="none" stroke="#0050c0" stroke-width="1.5"/>')
    for k, v in enumerate(values):
        out.append(f'<circle cx="{left + k * step:.1f}" cy="{y(v):.1f}" r="2.5" fill="#0050c0"/>')
out.append("</svg>")
open(sys.argv[2], "w", encoding="utf-8").write("\n".join(out))
