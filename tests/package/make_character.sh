#!/usr/bin/env bash
# Lays out a character folder as the guide shows it, for the reading-
# dictionary builder: ghost/master/ with scripts in UTF-8 and in Shift_JIS
# (CR LF), the module's settings and a voice folder beside them.
#   make_character.sh DIR
set -euo pipefail
master="$1/ghost/master"
mkdir -p "$master/vokariv0"
printf '\\0\\s[0]今日は良い天気ですね。\\e\n\\1雨が降りそうだ、3時に駅で会おう。\\e\n' >"$master/dic_weather.txt"
printf '\\0春香は二人で学校へ行きました。\\e\r\n\\1傘を持って行こう。\\e\r\n' | iconv -f UTF-8 -t CP932 >"$master/dic_school.txt"
printf 'voice.reading.dic,naist-jdic\r\n' >"$master/vokari.txt"
printf '0,0,0\r\n' >"$master/vokariv0/details.txt"
