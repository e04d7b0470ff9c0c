#!/usr/bin/env python3
"""The five language packs against the program's texts and against each other:
- every text the code reads through UiText (tools/ui-texts.py) is in every pack, and the Russian
  pack says what the code says;
- every key of the Russian pack is in every other pack;
- the English and Chinese packs hold no Cyrillic, except the five language choices, which keep
  their fixed captions (they are what Setting.ini stores);
- no Ukrainian or Belarusian text is left as its Russian original, except the words the
  languages share (listed below, checked by a speaker of each).
Usage: check_packs.py <source dir>"""
import configparser
import pathlib
import re
import subprocess
import sys

SRC = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parents[2])
PACKS = {"ru": "Russian.lng", "uk": "Ukraine.lng", "en": "England.lng", "be": "Belarusian.lng",
         "zh": "Chinese.lng"}
LANGUAGE_CHOICES = {("settings", k) for k in ("russian", "ukrainian", "english", "belarusian", "chinese")}
# Words spelt alike in Russian and the language: not a text left untranslated.
SHARED = {
    "uk": {"Таймер", "Порт:", "секунд", "Спорт", "Назад", "Записи", "канал", "Телеканал", "Кодек", "Жанр", "Плейлист:",
           "Казахстан", "Пароль", "Азербайджан", "Завтра"},
    "be": {"Таймер", "Порт:", "секунд", "Спорт", "Назад", "канал", "Жанр", "Каналы", "Пароль", "Беларусь",
           "Казахстан", "Азербайджан"},
}
CYRILLIC = re.compile("[\u0400-\u04FF]")
LETTER = re.compile(r"[^\W\d_]")


def read(name):
    parser = configparser.RawConfigParser(strict=False, interpolation=None, comment_prefixes=(";", "#"),
                                          delimiters=("=",))
    parser.optionxform = str.lower
    parser.read(SRC / "data" / "Language" / name, encoding="utf-8")
    out = {}
    for section in parser.sections():
        for key, value in parser.items(section):
            if len(value) >= 2 and value[0] == value[-1] == '"':
                value = value[1:-1]
            out[(section.lower(), key)] = value
    return out


packs = {lang: read(name) for lang, name in PACKS.items()}
code = {}
for line in subprocess.run([sys.executable, str(SRC / "tools" / "ui-texts.py"), str(SRC / "src")], check=True,
                           capture_output=True, text=True).stdout.splitlines():
    section, key, text = line.split("\t")
    code[(section.lower(), key.lower())] = text

problems = []
for key, text in code.items():
    for lang, pack in packs.items():
        if key not in pack:
            problems.append(f"{PACKS[lang]}: [{key[0]}] {key[1]} missing (the code reads it)")
    if key in packs["ru"] and packs["ru"][key] != text:
        problems.append(f"Russian.lng: [{key[0]}] {key[1]} = {packs['ru'][key]!r}, the code says {text!r}")
for lang, pack in packs.items():
    for key, ru in packs["ru"].items():
        if key not in pack:
            problems.append(f"{PACKS[lang]}: [{key[0]}] {key[1]} missing (Russian has it)")
            continue
        value = pack[key]
        if key in LANGUAGE_CHOICES or lang == "ru":
            continue
        if lang in ("en", "zh") and CYRILLIC.search(value):
            problems.append(f"{PACKS[lang]}: [{key[0]}] {key[1]} = {value!r} is Cyrillic")
        if lang in SHARED and value == ru and LETTER.search(value) and CYRILLIC.search(value) \
                and value not in SHARED[lang]:
            problems.append(f"{PACKS[lang]}: [{key[0]}] {key[1]} = {value!r} is the Russian text")
        for placeholder in set(re.findall(r"%\d", ru)):
            if placeholder not in value:
                problems.append(f"{PACKS[lang]}: [{key[0]}] {key[1]} lost {placeholder}")
for p in problems:
    print(p)
print(f"{len(code)} texts of the code, {len(packs['ru'])} keys a pack: {len(problems)} problems")
sys.exit(1 if problems else 0)
