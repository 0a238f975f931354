#!/usr/bin/env python3
"""What the literal encoder must and must not change in a source file."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from encode_literals import encode_source  # noqa: E402

ZHONG = "\\326\\320"  # 中 in GBK


class EncodeSourceTest(unittest.TestCase):
    def test_cases(self):
        cases = [
            ('a = "中";', f'a = "{ZHONG}";'),
            # Three-digit escapes never take a following digit or letter along.
            ('"中1a"', f'"{ZHONG}1a"'),
            ('"\\"中\\\\"', f'"\\"{ZHONG}\\\\"'),
            ("c = '中';", f"c = '{ZHONG}';"),
            # Comments and prefixed literals are left as they are.
            ('// 中 "x"\n"中"', f'// 中 "x"\n"{ZHONG}"'),
            ('/* "中" */ x', '/* "中" */ x'),
            ('u8"中" L"中" u"中" U"中"', 'u8"中" L"中" u"中" U"中"'),
            ('u8R"(中)"', 'u8R"(中)"'),
            # A digit separator is no character literal.
            ("n = 1'000; s = \"中\";", f"n = 1'000; s = \"{ZHONG}\";"),
            # A raw string with such characters becomes an ordinary literal.
            ('R"x(a"\\中\n)x"', f'"a\\"\\\\{ZHONG}\\n"'),
            ('R"(plain)"', 'R"(plain)"'),
            ('"┊*┊"', '"\\251\\256*\\251\\256"'),
        ]
        for source, expected in cases:
            with self.subTest(source=source):
                self.assertEqual(encode_source(source, "case"), expected)


if __name__ == "__main__":
    unittest.main()
