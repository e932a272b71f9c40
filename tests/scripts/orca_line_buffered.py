#!/usr/bin/python3
"""Runs Orca with its debug file written line by line, so that a test reads
each utterance as it is made (Orca buffers the file and loses the end when it
is stopped). Arguments: Orca's own."""
import builtins
import runpy
import sys

_open = builtins.open


def _line_buffered(file, mode="r", *args, **kwargs):
    if mode == "w" and not args and not kwargs and str(file).endswith(".debug"):
        return _open(file, mode, 1)
    return _open(file, mode, *args, **kwargs)


builtins.open = _line_buffered
sys.argv = ["/usr/bin/orca"] + sys.argv[1:]
runpy.run_path("/usr/bin/orca", run_name="__main__")
