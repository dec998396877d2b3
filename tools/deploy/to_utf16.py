#!/usr/bin/env python3
"""Copies UTF-8 text files as UTF-16LE with a byte-order mark and CRLF line ends: the form in
which the platform's INI reader takes text beyond the system code page.

usage: to_utf16.py OUTDIR FILE...
"""
import sys
from pathlib import Path

out = Path(sys.argv[1])
out.mkdir(parents=True, exist_ok=True)
for name in sys.argv[2:]:
    text = Path(name).read_text(encoding='utf-8').replace('\r\n', '\n').replace('\n', '\r\n')
    (out / Path(name).name).write_bytes(b'\xff\xfe' + text.encode('utf-16-le'))
