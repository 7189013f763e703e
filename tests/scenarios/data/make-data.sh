#!/usr/bin/env bash
# Writes the scenario data files: question files in Shift-JIS with CR LF line ends (unless a
# file tests another form), and speech.ini variants. Run it from this folder after a change;
# the files it writes are committed.
set -euo pipefail

# sjis NAME: standard input (UTF-8, LF) becomes NAME in Shift-JIS with CR LF.
sjis() { sed 's/$/\r/' | iconv -f UTF-8 -t CP932 > "$1"; }

sjis basic.dat <<'EOF'
1
私は学生です。
I
am
a
student



.
2
これはペンですか。
Is
this
a
pen



?
3
走れ！
Run






!
4
彼は医者です。
He
is
a
doctor



.
*
この行は読まれない
EOF

sjis edge.dat <<'EOF'
1
 前後に空白のある問題文 
  This
	is
the 
book
that
I
read
 . 
2
空の単語行を挟む
We
like

tea



.
3
終わりの記号がない
Good
morning






4
単語がない
 






!
EOF

sjis firststar.dat <<'EOF'
*
星印で始まるファイル
Hello






!
*
EOF

sjis lowercase.dat <<'EOF'
1
これはペンです。
this
is
a
pen



.
EOF

sjis trailing-blank.dat <<'EOF'
1
最後に空行
Yes






!


EOF

sjis blank-marker.dat <<'EOF'
1
一問目
One






.

二問目
Two






.
EOF

# LF line ends, a lone CR inside a word, a Ctrl-Z after the last record.
printf '1\n%s\nSee\ny\ro\ru\n\n\n\n\n.\n\x1a2\nnot read\n' "$(printf 'またね' | iconv -f UTF-8 -t CP932)" > lf-ctrlz.dat

# UTF-8 with a byte-order mark, and UTF-8 without one.
printf '\xef\xbb\xbf1\r\nおはよう。\r\nGood\r\nmorning\r\n\r\n\r\n\r\n\r\n\r\n.\r\n' > utf8-bom.dat
printf '1\nこんばんは。\nGood\nevening\n\n\n\n\n\n!\n' > utf8.dat

# A record cut off in the middle of its words, without a final line end.
printf '1\r\n%s\r\nCut\r\nshort' "$(printf '途中で切れた' | iconv -f UTF-8 -t CP932)" > truncated.dat

# Junk: NUL bytes, bytes that are not Shift-JIS, a lone lead byte, control characters.
printf '1\r\n\x00\x80\xa0\xfd\xfe\xff\x82\r\n\x00word\x00\r\n\x81\r\nok\r\n\x1b[31m\r\n\r\n\r\n?\r\n\x00\x00\r\n' > junk.dat

: > empty.dat

printf '0\r\n1\r\n2\r\n' > speech.ini
printf '0\r\n3\r\n5\r\n' > speech-3-5.ini
printf '0\r\n2\r\n' > speech-two-lines.ini
printf '0\r\n3a\r\n5\r\n' > speech-3a.ini
printf 'any text\n$2\n 0x1\n' > speech-hex.ini
: > speech-empty.ini
printf '0\r\n-1\r\n99\r\n' > speech-unknown.ini
printf '0\r\n5\r\n3\r\n' > speech-5-3.ini
printf '0\r\n8\r\n6\r\n' > speech-after-ok.ini

sjis five.dat <<'EOF2'
1
私はテニスをするのが好きです。
I
like
to
play
tennis


.
EOF2

# Two short questions whose words keep their order (one or two words are never shuffled): the
# window's smoke test drives them by keys and by mouse and compares with the headless runner.
sjis smoke.dat <<'EOF2'
1
おはようございます。
Good
morning





.
2
走れ！
Run






!
*
EOF2
