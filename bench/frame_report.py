#!/usr/bin/env python3
"""Runs the frame benchmarks several times and prints the medians side by side with SDL2's.

Usage: frame_report.py [--bench PATH] [--repetitions N] [--filter REGEX]

Other processes on the machine move the wall-clock times; the CPU times of the engine and of SDL2
come from the same run, so their ratio holds. Both are shown.
"""
import argparse
import json
import os
import subprocess
import sys

SCREENS = ["playing", "playing_crossing", "menu", "transition", "results"]


def run(bench, repetitions, pattern):
    out = subprocess.run(
        [bench, f"--benchmark_filter={pattern}", f"--benchmark_repetitions={repetitions}",
         "--benchmark_report_aggregates_only=true", "--benchmark_format=json"],
        check=True, capture_output=True, text=True).stdout
    medians = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        medians[b["run_name"]] = b
    return medians


def us(b, key):
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[b["time_unit"]]
    return b[key] * scale


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser()
    parser.add_argument("--bench", default=os.path.join(here, "..", "build-perf", "bench", "orvalis_bench"))
    parser.add_argument("--repetitions", type=int, default=7)
    parser.add_argument("--filter", default=".")
    args = parser.parse_args()
    m = run(args.bench, args.repetitions, args.filter)

    print(f"medians of {args.repetitions} runs; cpu time (wall time) in microseconds\n")
    print(f"{'frame':18} {'game frame':>16} {'engine replay':>16} {'SDL2 replay':>16} {'SDL2/game':>10} "
          f"{'SDL2/replay':>12} {'== ref':>7}")
    for screen in SCREENS:
        game = m.get(f"BM_Game_Frame/{screen}")
        replay = m.get(f"BM_Engine_Replay/{screen}")
        sdl = m.get(f"BM_SDL2_Replay/{screen}")
        if not (game and replay and sdl):
            continue
        cell = lambda b: f"{us(b, 'cpu_time'):7.1f} ({us(b, 'real_time'):6.1f})"
        print(f"{screen:18} {cell(game):>16} {cell(replay):>16} {cell(sdl):>16} "
              f"{us(sdl, 'cpu_time') / us(game, 'cpu_time'):9.2f}x {us(sdl, 'cpu_time') / us(replay, 'cpu_time'):11.2f}x "
              f"{game.get('same_as_reference', float('nan')):7.3f}")

    synthetic = [("BM_Engine_Frame", "BM_SDL2_Frame")] + [
        (f"BM_Engine_Part/{p}", f"BM_SDL2_Part/{p}") for p in (1, 2, 4, 8)]
    rows = [(e, s) for e, s in synthetic if e in m and s in m]
    if rows:
        print("\nsynthetic frame (bench/frame_bench.cpp): engine vs SDL2, cpu time in microseconds")
        for e, s in rows:
            print(f"{e:24} {us(m[e], 'cpu_time'):8.1f} {us(m[s], 'cpu_time'):8.1f} "
                  f"{us(m[s], 'cpu_time') / us(m[e], 'cpu_time'):6.2f}x")
    if "BM_Layer_File_Read" in m:
        print(f"\nlayer file read: {us(m['BM_Layer_File_Read'], 'cpu_time'):.2f} us cpu")
    if "BM_Start_Up" in m:
        b = m["BM_Start_Up"]
        print(f"start-up to the first frame: {us(b, 'cpu_time') / 1e3:.2f} ms cpu ({us(b, 'real_time') / 1e3:.2f} wall)")
    if "BM_Headless_Game" in m:
        b = m["BM_Headless_Game"]
        frames = b["frames"]
        print(f"scripted headless game: {frames:.0f} frames in {us(b, 'cpu_time') / 1e3:.1f} ms cpu: "
              f"{frames / (us(b, 'cpu_time') / 1e6):.0f} frames/s ({frames / (us(b, 'real_time') / 1e6):.0f} wall)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
