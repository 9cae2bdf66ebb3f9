#!/bin/sh
# Regenerates the bundled voice in voices/default from scratch: records the
# 107 syllables of both speakers from Open JTalk's trained voice
# (vokari-jtalk-record) and builds each speaker's sample directories from
# them.  Needs libsndfile1-dev and libsamplerate0-dev to build, and the
# Debian packages open-jtalk, open-jtalk-mecab-naist-jdic and, from the
# contrib area, hts-voice-nitech-jp-atr503-m001; run as root, it adds the
# contrib area and installs them itself.  Not needed to build or test the
# module: the recordings are committed.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-voice-tools}
voice_file=/usr/share/hts-voice/nitech-jp-atr503-m001/nitech_jp_atr503_m001.htsvoice

if ! command -v open_jtalk >/dev/null 2>&1 || [ ! -f "$voice_file" ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "make_default_voice.sh: needs open-jtalk, open-jtalk-mecab-naist-jdic and hts-voice-nitech-jp-atr503-m001" >&2
    echo "  (the last from Debian's contrib area); run as root to have them installed" >&2
    exit 1
  fi
  echo "make_default_voice.sh: adding Debian's contrib area and installing Open JTalk's voice" >&2
  sources=/etc/apt/sources.list.d/vokari-contrib.sources
  [ -f "$sources" ] || cat >"$sources" <<'SOURCES'
Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: contrib
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y open-jtalk open-jtalk-mecab-naist-jdic hts-voice-nitech-jp-atr503-m001
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVOKARI_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target vokari-voicebank vokari-jtalk-record
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# Both speakers are built into a scratch module folder and moved in together:
# a failure leaves voices/default as it was.
mkdir "$scratch/module"
cp "$root/voices/default/vokari.txt" "$scratch/module/"
for speaker in 0 1; do
  "$build/tools/voicebank/vokari-jtalk-record" --speaker "$speaker" "$scratch/speaker$speaker" >"$scratch/record$speaker.log"
  # The recorder's oto.ini marks each vowel where open_jtalk's labels put it.
  "$build/tools/voicebank/vokari-voicebank" --oto --speaker "$speaker" "$scratch/speaker$speaker" "$scratch/module" \
    >"$scratch/build$speaker.log"
done
# The recorder's settings, named where the samples are described, and per
# syllable what it said and how long the duration model made the consonant.
sed -i '1a // Recorded by vokari-jtalk-record: open_jtalk -fm 8 -a 0.62 -r 1.0 (higher and lighter).' \
  "$scratch/module/vokariv0/details.txt" "$scratch/module/vokaric0/details.txt"
sed -i '1a // Recorded by vokari-jtalk-record: open_jtalk -fm 0 -a 0.55 -r 1.0 (the voice'"'"'s own pitch).' \
  "$scratch/module/vokariv1/details.txt" "$scratch/module/vokaric1/details.txt"
for speaker in 0 1; do
  grep -v ' ms kept, ' "$scratch/record$speaker.log" >"$scratch/vowels$speaker.txt"
  grep -E '^// Every| ms kept, ' "$scratch/record$speaker.log" >"$scratch/consonants$speaker.txt"
  sed -i "2r $scratch/vowels$speaker.txt" "$scratch/module/vokariv$speaker/details.txt"
  sed -i "2r $scratch/consonants$speaker.txt" "$scratch/module/vokaric$speaker/details.txt"
done
for directory in vokariv0 vokaric0 vokariv1 vokaric1; do
  rm -rf "$root/voices/default/$directory"
  mv "$scratch/module/$directory" "$root/voices/default/$directory"
done
