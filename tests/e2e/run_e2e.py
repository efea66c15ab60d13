#!/usr/bin/env python3
"""Runs the Windows saver end to end under Wine, one fresh prefix and display per case.

usage: run_e2e.py --windows-bin DIR --slidemake FILE [--linux-runtime FILE] [--out DIR] [-k WORD] [--list]
Screenshots stay in --out (build/e2e); the last line counts the cases that passed and failed. A
case that fails is run once more; both tries are printed, and the last line names the cases that
passed only on their second try."""

import argparse
import shutil
import sys
import time
import traceback
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

import cases  # noqa: E402
import desktop_cases  # noqa: E402,F401  (its cases join the list)
import monitor_cases  # noqa: E402,F401
from media import SaverFactory  # noqa: E402
from session import CaseFailure, PrefixCache, Session, Tools  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--windows-bin", required=True, help="folder holding slidesaver.scr and e2e_probe.exe")
    parser.add_argument("--slidemake", required=True, help="the Linux slidemake that builds the savers")
    parser.add_argument("--linux-runtime", help="the Linux slidesaver, for the cases that run it natively")
    parser.add_argument("--out", default="build/e2e", help="screenshots, logs and the prefix cache")
    parser.add_argument("-k", dest="word", default="", help="run only the cases whose name holds WORD")
    parser.add_argument("--list", action="store_true", help="list the cases and stop")
    args = parser.parse_args()

    selected = [c for c in cases.CASES if args.word in c.__name__]
    if args.list:
        print("\n".join(c.__name__ for c in selected))
        return 0
    windows_bin = Path(args.windows_bin).resolve()
    runtime, probe_exe = windows_bin / "slidesaver.scr", windows_bin / "e2e_probe.exe"
    for needed in (runtime, probe_exe, Path(args.slidemake)):
        if not needed.is_file():
            print(f"e2e: {needed} is missing; build it first", file=sys.stderr)
            return 2

    out = Path(args.out).resolve()
    tools = Tools()
    cache = PrefixCache(tools, out / "prefix-cache")
    factory = SaverFactory(Path(args.slidemake).resolve(), runtime.resolve(), out / "savers")
    linux_factory = None
    if args.linux_runtime:
        linux_factory = SaverFactory(Path(args.slidemake).resolve(), Path(args.linux_runtime).resolve(),
                                     out / "linux-savers")
    print(f"e2e: {len(selected)} cases under {tools.wine_version()}, screenshots in {out}", flush=True)

    passed, failed, second_tries = [], [], []
    suite_started = time.monotonic()
    for function in selected:
        name = function.__name__
        result = run_case(function, name, tools, cache, out, probe_exe, factory, linux_factory)
        if result is not None:
            # Wine under a virtual display now and then loses a case to its own timing (a first
            # start in a fresh prefix, a crash in one of its threads): one more try, and the
            # failure stays in the output, its logs beside the second try's.
            first_dir = out / "work" / f"{name}.first-try"
            shutil.rmtree(first_dir, ignore_errors=True)
            if (out / "work" / name).exists():
                (out / "work" / name).rename(first_dir)
            print(f"     trying {name} once more; the first try's logs: {first_dir}", flush=True)
            result = run_case(function, name, tools, cache, out, probe_exe, factory, linux_factory)
            if result is None:
                second_tries.append(name)
        (failed if result is not None else passed).append(name)
    print(f"e2e: suite took {time.monotonic() - suite_started:.0f} s")
    again = f" ({len(second_tries)} on a second try: {', '.join(second_tries)})" if second_tries else ""
    print(f"e2e: {len(passed)} passed{again}, {len(failed)} failed")
    return 1 if failed else 0


def run_case(function, name, tools, cache, out, probe_exe, factory, linux_factory):
    """Runs one case in a session of its own and prints PASS or FAIL; returns None when it
    passed, else what failed."""
    started = time.monotonic()
    session = Session(tools, cache, out / "work", out, name, monitors=getattr(function, "monitors", None))
    try:
        with session:
            function(cases.Context(session, probe_exe, factory, linux_factory))
        print(f"PASS {name} ({time.monotonic() - started:.1f} s)", flush=True)
        for note in session.notes:
            print(f"     note: {note}", flush=True)
        return None
    except Exception as e:  # every failure of a case is reported, and the next case runs
        detail = str(e) if isinstance(e, CaseFailure) else traceback.format_exc().strip()
        shots = ", ".join(str(p) for p in session.shots[-2:]) or "none"
        print(f"FAIL {name} ({time.monotonic() - started:.1f} s): {detail}\n"
              f"     screenshots: {shots}\n     logs: {session.dir}", flush=True)
        for log in sorted(session.dir.glob("*.log")):
            for line in log.read_text(errors="replace").splitlines():
                if line.startswith("wine: Unhandled"):
                    print(f"     {log.name}: {line}", flush=True)
        return detail


if __name__ == "__main__":
    sys.exit(main())
