#!/usr/bin/env python3
"""Lists the texts the code reads with UiText/UiPlural and their built-in Russian wording.

    tools/ui-texts.py [SRC_DIR]        section<TAB>key<TAB>built-in text, one a line

The language packs carry these keys; tests/settings/check_packs.py compares the packs with this list.
"""
import pathlib
import re
import sys

STRINGS = r'(?:\s*"(?:[^"\\]|\\.)*")+'
LITERAL = re.compile(r'QStringLiteral\((' + STRINGS + r')\s*\)')
PIECE = re.compile(r'"((?:[^"\\]|\\.)*)"')
CALL = re.compile(r'UiText\(\s*"(\w+)",\s*"(\w+)",\s*(QStringLiteral\(' + STRINGS + r'\s*\))\s*\)', re.S)
PLURAL = re.compile(r'UiPlural\(\s*"(\w+)",\s*"(\w+)",\s*\w+,((?:\s*QStringLiteral\(' + STRINGS + r'\s*\),?){3})\)', re.S)
TABLE = re.compile(r'\{(\d{3}), u"((?:[^"\\]|\\.)*)"\}')
# A table of keys read through one UiText call: {"objectName", "key", u"built-in"}.
KEYED = re.compile(r'\{"\w+", "(\w+)", u"((?:[^"\\]|\\.)*)"\}')
KEYED_READER = re.compile(r'UiText\("(\w+)", n\.key')


def unescape(literal):
    joined = ''.join(PIECE.findall(literal))
    return joined.encode('utf-8').decode('unicode_escape').encode('latin-1').decode('utf-8')


def texts(src):
    found = {}
    for path in sorted(pathlib.Path(src).rglob('*.cpp')):
        code = path.read_text(encoding='utf-8')
        for m in CALL.finditer(code):
            text = ''.join(unescape(x) for x in LITERAL.findall(m.group(3)))
            found.setdefault((m.group(1), m.group(2)), text)
        for m in PLURAL.finditer(code):
            for suffix, form in zip('125', LITERAL.findall(m.group(3))):
                found.setdefault((m.group(1), m.group(2) + suffix), unescape(form))
        reader = KEYED_READER.search(code)
        if reader:
            for key, text in KEYED.findall(code):
                found.setdefault((reader.group(1), key), unescape('"' + text + '"'))
        if path.name == 'HttpReason.cpp':
            for status, text in TABLE.findall(code):
                found.setdefault(('HttpStatus', 'http' + status), unescape('"' + text + '"'))
    return found


if __name__ == '__main__':
    src = sys.argv[1] if len(sys.argv) > 1 else str(pathlib.Path(__file__).resolve().parent.parent / 'src')
    for (section, key), text in texts(src).items():
        print(f'{section}\t{key}\t{text}')
