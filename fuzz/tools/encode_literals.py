#!/usr/bin/env python3
"""Writes a copy of the source tree whose narrow string and character literals hold their GBK
(GB18030) bytes as octal escapes, for compilers that cannot encode literals themselves.

g++ turns the UTF-8 sources' literals into GBK with -fexec-charset; clang only knows UTF-8. Octal
escapes of exactly three digits never merge with a following character, and comments, prefixed
literals (L, u, U, u8) and everything else are copied as they are. The picture host's sources stay
UTF-8: its literals are UTF-8 in every build.

usage: encode_literals.py SOURCE_ROOT MIRROR_ROOT
Files are rewritten only when their contents change, so builds of the copy stay incremental.
"""
import os
import sys

SKIPPED_DIRS = {".git", "build", ".cache"}
UTF8_DIRS = ("host",)  # relative to the root: literals stay UTF-8
# ... except the host's test of the program's own upload code, compiled as the program is.
GBK_IN_UTF8_DIRS = {os.path.join("host", "tests", "ProgramUploadTest.cpp")}
SOURCE_SUFFIXES = (".cpp", ".h", ".cc", ".hpp")
MARKER = ".literals-encoded"


class EncodeError(Exception):
    pass


def encode_literal_char(ch):
    data = ch.encode("gb18030")
    return "".join("\\%03o" % b for b in data)


def encode_source(text, name):
    out = []
    i = 0
    n = len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j == -1 else j
            out.append(text[i:j])
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j == -1 else j + 2
            out.append(text[i:j])
            i = j
        elif c == '"' or (c == "'" and not is_digit_separator(text, i)):
            prefix = prefix_before(text, i)
            if prefix.endswith("R") and c == '"':
                j = raw_string_end(text, i, name)
                body = text[i:j]
                if prefix == "R" and any(ord(ch) > 127 for ch in body):
                    out.pop()  # the R already copied
                    body = plain_literal_of_raw(body)
                out.append(body)
                i = j
                continue
            j = i + 1
            piece = [c]
            while j < n and text[j] != c:
                if text[j] == "\\" and j + 1 < n:
                    piece.append(text[j:j + 2])
                    j += 2
                    continue
                if text[j] == "\n":
                    raise EncodeError(f"{name}: unterminated literal")
                ch = text[j]
                piece.append(encode_literal_char(ch) if ord(ch) > 127 and prefix == "" else ch)
                j += 1
            piece.append(c)
            out.append("".join(piece))
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def is_digit_separator(text, i):
    """An apostrophe right after a letter or digit that is no literal prefix: 1'000."""
    return i > 0 and (text[i - 1].isalnum() or text[i - 1] == "_") and prefix_before(text, i) == ""


def prefix_before(text, i):
    """The encoding prefix written directly before the quote at i ('' when there is none)."""
    for p in ("u8R", "LR", "uR", "UR", "R", "u8", "L", "u", "U"):
        start = i - len(p)
        if start >= 0 and text[start:i] == p and (start == 0 or not (text[start - 1].isalnum() or text[start - 1] == "_")):
            return p
    return ""


def raw_string_end(text, i, name):
    open_paren = text.find("(", i)
    if open_paren == -1:
        raise EncodeError(f"{name}: malformed raw string")
    delimiter = text[i + 1:open_paren]
    close = text.find(")" + delimiter + '"', open_paren)
    if close == -1:
        raise EncodeError(f"{name}: unterminated raw string")
    return close + len(delimiter) + 2


def plain_literal_of_raw(raw):
    """R"d(...)d" as an ordinary literal, so that its characters can be escaped."""
    content = raw[raw.index("(") + 1:raw.rindex(")")]
    escapes = {"\\": "\\\\", '"': '\\"', "\n": "\\n", "\r": "\\r"}
    return '"' + "".join(escapes.get(ch) or (encode_literal_char(ch) if ord(ch) > 127 else ch)
                         for ch in content) + '"'


def write_if_changed(path, data):
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except FileNotFoundError:
        pass
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    source_root = os.path.abspath(argv[1])
    mirror_root = os.path.abspath(argv[2])
    if mirror_root == source_root:
        sys.stderr.write("the copy must not replace the sources\n")
        return 2
    for folder, dirs, files in os.walk(source_root):
        rel_folder = os.path.relpath(folder, source_root)
        # Never the copy itself, nor build trees (build/, build-*/).
        dirs[:] = [d for d in dirs if os.path.join(folder, d) != mirror_root]
        if rel_folder == ".":
            dirs[:] = [d for d in dirs if d not in SKIPPED_DIRS and not d.startswith("build")]
        if rel_folder == "fuzz":
            dirs[:] = [d for d in dirs if d != "corpus"]  # read from the sources, not compiled
        for file_name in files:
            rel = os.path.normpath(os.path.join(rel_folder, file_name))
            with open(os.path.join(source_root, rel), "rb") as f:
                data = f.read()
            utf8_only = rel.split(os.sep)[0] in UTF8_DIRS and rel not in GBK_IN_UTF8_DIRS
            if file_name.endswith(SOURCE_SUFFIXES) and not utf8_only:
                try:
                    data = encode_source(data.decode("utf-8"), rel).encode("utf-8")
                except (UnicodeError, EncodeError) as e:
                    sys.stderr.write(f"encode_literals: {rel}: {e}\n")
                    return 1
            write_if_changed(os.path.join(mirror_root, rel), data)
            mode = os.stat(os.path.join(source_root, rel)).st_mode
            os.chmod(os.path.join(mirror_root, rel), mode & 0o777)
    write_if_changed(os.path.join(mirror_root, MARKER), b"GBK literals written as octal escapes\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
