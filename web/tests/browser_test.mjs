// The page in a real browser: Debian's chromium, headless, driven by
// puppeteer-core.  Run by scripts/test-web.sh after the build:
//   node web/tests/browser_test.mjs SITE_DIR FIXTURE_WRITER SCREENSHOT_DIR
// Prints one line per check and fails when any check fails.
import { execFileSync, spawnSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, readdirSync, readFileSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, relative, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';
import { zipSync } from 'fflate';
import { serve } from './static_server.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const root = join(here, '..', '..');
const [site, fixtureWriter, screenshots] = process.argv.slice(2);
if (!site || !fixtureWriter || !screenshots) {
  console.error('usage: browser_test.mjs SITE_DIR FIXTURE_WRITER SCREENSHOT_DIR');
  process.exit(2);
}
mkdirSync(screenshots, { recursive: true });

const failures = [];
// VOKARI_WEB_ONLY=TEXT runs only the checks whose name holds TEXT.
const only = process.env.VOKARI_WEB_ONLY;
async function check(name, body) {
  if (only && !name.includes(only)) return;
  try {
    await body();
    console.log(`ok    ${name}`);
  } catch (error) {
    failures.push(name);
    console.log(`FAIL  ${name}\n      ${String(error && error.stack || error).split('\n').join('\n      ')}`);
  }
}
function expect(condition, message) {
  if (!condition) throw new Error(message);
}

function fnv1a(bytes) {
  let hash = 0xcbf29ce484222325n;
  for (const b of bytes) hash = BigInt.asUintN(64, (hash ^ BigInt(b)) * 0x100000001b3n);
  return hash.toString(16).padStart(16, '0');
}

// Every file under `dir` as {relative path: bytes as an array}.
function readTree(dir) {
  const files = {};
  const walk = (at) => {
    for (const name of readdirSync(at)) {
      const path = join(at, name);
      if (statSync(path).isDirectory()) walk(path);
      else files[relative(dir, path).split('\\').join('/')] = [...readFileSync(path)];
    }
  };
  walk(dir);
  return files;
}

function fixtureVoice(settingsLines) {
  const dir = mkdtempSync(join(tmpdir(), 'vokari-web-fixture-'));
  execFileSync(fixtureWriter, [dir, ...settingsLines]);
  const files = readTree(dir);
  rmSync(dir, { recursive: true, force: true });
  return files;
}

// The script header of a golden request and whether it is SAORI.
function scriptOfRequest(bytes) {
  const text = Buffer.from(bytes).toString('latin1');
  const firstLine = text.slice(0, text.indexOf('\n'));
  const saori = /SAORI\S*\r?$/.test(firstLine.split(' ').pop());
  const header = saori ? 'Argument0' : 'String';
  const match = new RegExp(`\\r\\n${header}:([^\\r\\n]*)\\r\\n`).exec(text);
  return { saori, script: Buffer.from(match[1].trim(), 'latin1') };
}

const shots = [];
async function screenshot(page, name) {
  const path = join(screenshots, `${name}.png`);
  await page.screenshot({ path, fullPage: true });
  shots.push(path);
}

const browserArgs = ['--no-sandbox', '--autoplay-policy=no-user-gesture-required', '--lang=ja'];
const server = await serve(site);
const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', headless: true, args: browserArgs });
const page = await browser.newPage();
await page.setViewport({ width: 1280, height: 1000 });
const pageErrors = [];
page.on('pageerror', (error) => pageErrors.push(String(error)));
await page.goto(server.url);
await page.waitForFunction(() => window.vokariPage && window.vokariPage.ready, { timeout: 30000 });

await check('the bundled voice is preloaded whole but for its analyser dictionary, and speaks a typical line', async () => {
  const onDisk = readTree(join(root, 'voices', 'default'));
  for (const path of Object.keys(onDisk)) if (path.startsWith('naist-jdic/')) delete onDisk[path];
  const result = await page.evaluate(async () => {
    const files = await vokari.bundledVoice();
    const spoken = await vokari.speak('\\0こんにちは。\\1やあ。');
    return { paths: Object.keys(files).sort(), wavSize: spoken.wav ? spoken.wav.length : 0, reply: spoken.reply,
             chars: spoken.display.events.filter((e) => e.kind === 'char').map((e) => e.text).join('') };
  });
  expect(JSON.stringify(result.paths) === JSON.stringify(Object.keys(onDisk).sort()),
         `preloaded ${result.paths.length} files, voices/default holds ${Object.keys(onDisk).length}`);
  expect(result.wavSize > 58 + 1000, `a WAV of ${result.wavSize} bytes`);
  expect(/\\_w\[\d+\]/.test(result.reply), `no wait tag in the reply ${result.reply}`);
  expect(result.chars === 'こんにちは。やあ。', `the host shows ${result.chars}`);
});

await check('the espeak-ng voice is preloaded whole, loads from the voice list and speaks with its own samples', async () => {
  const onDisk = readTree(join(root, 'voices', 'espeak'));
  await page.click('.tab[data-screen="voice"]');
  const line = '\\1やあ。';
  // The two voices' speech has the same length; their bytes tell them apart.
  const spokenBytes = async () => page.evaluate(async (script) => Array.from((await vokari.speak(script)).wav || []).join(','), line);
  const bundled = await spokenBytes();
  await page.click('#use-espeak');
  await page.waitForFunction(() => /espeak-ng voice/.test(document.getElementById('status').textContent));
  const paths = await page.evaluate(async () => Object.keys(await vokari.espeakVoice()).sort());
  const espeak = await spokenBytes();
  await page.click('#use-bundled');
  await page.click('.tab[data-screen="speak"]');
  expect(JSON.stringify(paths) === JSON.stringify(Object.keys(onDisk).sort()),
         `preloaded ${paths.length} files, voices/espeak holds ${Object.keys(onDisk).length}`);
  expect(espeak.split(',').length > 58 + 1000 && espeak !== bundled,
         `the espeak-ng voice spoke ${espeak.split(',').length} bytes, ${espeak === bundled ? 'the same as' : 'unlike'} the bundled one`);
});

// The golden cases with a sound, spoken through the page: the WAV it gets is the
// one the native library writes for the same request.  The cases ask for
// their sound in a file, silently; the page plays it instead, so the request
// for the file is left out of the script, which changes nothing else.
const golden = join(root, 'tests', 'golden');
const cases = readdirSync(golden).filter((n) => /\.wav\.fnv1a$/.test(n)).map((n) => n.replace('.wav.fnv1a', ''));
await check(`the page's WAV is the native library's for the ${cases.length} golden cases with a sound`, async () => {
  expect(cases.length >= 5, `only ${cases.length} golden speech cases found`);
  const wrong = [];
  for (const name of cases) {
    const base = join(golden, name);
    const settingsPath = base + '.settings';
    let settings = [];
    try { settings = readFileSync(settingsPath, 'latin1').split(/\r?\n/).filter(Boolean); } catch { /* none */ }
    const { saori, script } = scriptOfRequest(readFileSync(base + '.request'));
    const spoken = Buffer.from(script.toString('latin1').replace('@wavouts[out.wav]', ''), 'latin1');
    const response = readFileSync(base + '.response', 'latin1');
    const expectedReply = response.slice(response.indexOf(saori ? 'Result: ' : 'String: ') + 8, response.length - 24);
    // Spoken as an author types it: UTF-8 text that the page converts.
    const text = new TextDecoder('shift_jis').decode(spoken);
    const got = await page.evaluate(async (files, script, protocol) => {
      const voice = {};
      for (const [path, content] of Object.entries(files)) voice[path] = new Uint8Array(content);
      await vokari.load(voice);
      const result = await vokari.speak(script, { protocol });
      return { wav: result.wav ? [...result.wav] : [], reply: [...result.replyBytes] };
    }, fixtureVoice(settings), text, saori ? 'saori' : 'makoto');
    const hash = fnv1a(got.wav);
    const expected = readFileSync(base + '.wav.fnv1a', 'latin1').trim();
    if (hash !== expected) wrong.push(`${name}: WAV ${hash} of ${got.wav.length} bytes, native ${expected}`);
    if (Buffer.from(got.reply).toString('latin1') !== expectedReply) wrong.push(`${name}: reply differs`);
  }
  expect(wrong.length === 0, wrong.join('\n'));
});

// The in-context reading: the page fetches the analyser dictionary after the
// voice speaks; a kanji line then sounds and reads as the native library's.
const nativeSay = process.env.VOKARI_SAY;
const kanjiLine = '\\0今日は3時に東京へ行きます。\\1お腹が空いたね。';
await check('read in context with the dictionary, a kanji line gives the native WAV byte for byte and its reading under the script', async () => {
  expect(nativeSay, 'VOKARI_SAY (the native build\'s vokari-say) is needed for the native reference');
  const dir = mkdtempSync(join(tmpdir(), 'vokari-web-reading-'));
  try {
    const say = (args) => execFileSync(nativeSay, ['-m', join(root, 'voices', 'default'), ...args]).toString();
    say(['-n', '-o', join(dir, 'native.wav'), kanjiLine]);
    const nativeReading = say(['--reading', kanjiLine]).trim();
    const ready = await page.evaluate(async () => (await vokari.readingReady).dictionary);
    expect(ready === 'ready', `the dictionary is ${ready}`);
    const mode = await page.evaluate(async () => (await vokari.loadBundled()).reading);
    expect(mode === 'context', `the bundled voice reads ${mode}`);
    await page.click('.tab[data-screen="speak"]');
    const authored = await page.$eval('#script', (box, line) => { const was = box.value; box.value = line; return was; }, kanjiLine);
    await page.click('#speak-button');
    await page.waitForFunction(() => /^Voiced as: /.test(document.getElementById('reading-line').textContent));
    const shown = await page.$eval('#reading-line', (line) => line.textContent);
    const wav = await page.evaluate(() => [...window.vokariPage.wav]);
    expect(shown === 'Voiced as: ' + nativeReading, `the page shows "${shown}", vokari-say --reading "${nativeReading}"`);
    expect(Buffer.from(wav).equals(readFileSync(join(dir, 'native.wav'))), `the page's WAV of ${wav.length} bytes differs from the native one`);
    await page.$eval('#script', (box, text) => { box.value = text; }, authored);
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
});

// Mixed scripts as authors write them, each spoken by the page and by the
// native vokari-say with the bundled voice reading in context with its accent.
const mixedScripts = [
  kanjiLine,
  '\\0こんにちは、今日もいい天気ですね。\\1本当だね。',
  '\\0明日は何時に起きますか？',
  '\\0この本は1,800円です。\\1高いね。',
  '\\02026年12月7日、午後3時45分です。',
  '\\0100%の力で頑張ります！',
  '\\0箸と橋は違います。',
  '\\0雨が降ってきたから、傘を持って行こう。',
  '\\0@<[6]高い声で話します。@|普通に戻ります。',
  '\\0@0>[4]低い声です。\\1@0<[4]高い声だね？',
  '\\0@<@<@<上がって@>@>@>下がる。',
  '\\0東京\\w9へ\\_w[300]行きました。\\n\\1そうなの？',
  '\\0ファイルを保存しました。',
  '\\0ありがとうございました。\\1どういたしまして。',
  '\\0少しだけ恥ずかしいです。',
  '\\0@s[100]早口で話すよ。@s普通の速さ。',
  '\\0３本のペンと４人の友達。',
  '\\0お元気ですか？\\1元気だよ！',
  '\\0\\s[10]表情を変えて、\\1\\s[20]話します。',
  'ｶﾀｶﾅも読みます。',
  '\\0遊びに行った。何曜日ですか？',
];
// The module's "1.000": three decimals, rounded half up.
const threeDecimals = (factor) => (Math.floor(factor * 1000 + 0.5) / 1000).toFixed(3);
const withoutRepeats = (factors) => factors.filter((f, i) => f !== (i === 0 ? '1.000' : factors[i - 1]));

await check(`reading in context with the accent, the page's WAV is vokari-say's for ${mixedScripts.length} mixed scripts, and its accent events are --reading --pitch's`, async () => {
  expect(nativeSay, 'VOKARI_SAY (the native build\'s vokari-say) is needed for the native reference');
  const dir = mkdtempSync(join(tmpdir(), 'vokari-web-mixed-'));
  try {
    const say = (args) => execFileSync(nativeSay, ['-m', join(root, 'voices', 'default'), ...args]).toString();
    writeFileSync(join(dir, 'scripts.txt'), mixedScripts.join('\n') + '\n');
    const readings = say(['--reading', '-f', join(dir, 'scripts.txt'), '--each-line']).split('\n');
    const pitches = say(['--reading', '--pitch', '-f', join(dir, 'scripts.txt'), '--each-line']).split('\n');
    const mode = await page.evaluate(async () => { await vokari.readingReady; return (await vokari.loadBundled()).reading; });
    expect(mode === 'context', `the bundled voice reads ${mode}`);
    const wrong = [];
    for (const [i, script] of mixedScripts.entries()) {
      const wavPath = join(dir, `${i}.wav`);
      say(['-n', '-o', wavPath, script]);
      const got = await page.evaluate(async (script) => {
        const spoken = await vokari.speak(script);
        return { wav: spoken.wav ? [...spoken.wav] : [], reading: spoken.reading, pitch: spoken.pitch };
      }, script);
      if (!Buffer.from(got.wav).equals(readFileSync(wavPath))) wrong.push(`${script}: the page's WAV of ${got.wav.length} bytes differs`);
      if (got.reading !== readings[i]) wrong.push(`${script}: the page reads "${got.reading}", vokari-say "${readings[i]}"`);
      const events = got.pitch.speakers.map((speaker) => speaker.accent.map(([, factor]) => threeDecimals(factor)));
      const native = pitches[i].split(' ').map((token) => token.slice(token.lastIndexOf(':') + 1));
      // One speaker's events are the factors where its morae change pitch;
      // with two, each event is at least one of the morae's factors.
      const oneSpeaker = !script.includes('\\1');
      const agree = oneSpeaker
        ? JSON.stringify(withoutRepeats(events[0])) === JSON.stringify(withoutRepeats(native))
        : events.flat().every((factor) => native.includes(factor));
      if (events.flat().length === 0 || !agree) wrong.push(`${script}: accent events ${JSON.stringify(events)}, --pitch ${pitches[i]}`);
    }
    expect(wrong.length === 0, wrong.join('\n'));
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
});

// The pitch line over the waveform: drawn where the module's accent events
// fall in the sound, and not at all when the voice speaks without accent.
await check('the pitch line is drawn at the module\'s accent events, over the samples they fall on; none without the accent', async () => {
  const speakAndRead = async () => {
    await page.click('#speak-button');
    await page.waitForFunction(() => window.vokariPage.stats.clickToSoundMs.length > 0 && /^Speaking/.test(document.getElementById('status').textContent));
    return page.evaluate(() => {
      const canvas = document.getElementById('waveform');
      const wave = canvas.height - 40;
      const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width, wave).data;
      const colour = (x, y) => '#' + [0, 1, 2].map((c) => pixels[(y * canvas.width + x) * 4 + c].toString(16).padStart(2, '0')).join('');
      let coloured = 0;
      for (let y = 0; y < wave; y++) for (let x = 0; x < canvas.width; x++) if (/^#(d0542b|2b7bd0)$/.test(colour(x, y))) coloured++;
      // Each flat piece of the line, looked at a third and two thirds along
      // (the play cursor may cover one of them).
      const flatMissing = [];
      for (const { speaker, points } of window.vokariPage.pitchLine) {
        for (let i = 1; i < points.length; i++) {
          const [, , x0, y0] = points[i - 1];
          const [, , x1, y1] = points[i];
          if (y0 !== y1 || x1 - x0 < 6) continue;
          const want = speaker === 0 ? '#d0542b' : '#2b7bd0';
          const seen = [x0 + Math.round((x1 - x0) / 3), x0 + Math.round(2 * (x1 - x0) / 3)]
            .some((x) => colour(x, y0) === want || colour(x, y0 - 1) === want);
          if (!seen) flatMissing.push(`${speaker}@${x0}-${x1},${y0}`);
        }
      }
      return { line: window.vokariPage.pitchLine, coloured, flatMissing, width: canvas.width };
    });
  };
  const authored = await page.$eval('#script', (box, line) => { const was = box.value; box.value = line; return was; }, kanjiLine);
  try {
    await page.click('.tab[data-screen="speak"]');
    await page.evaluate(async () => {
      await vokari.readingReady;
      await vokari.loadBundled();
      window.vokariPage.stats.clickToSoundMs = [];
    });
    const played = await page.evaluate(async (script) => {
      const spoken = await vokari.speak(script);
      return { pitch: spoken.pitch, samples: spoken.wav.length - 58, endMs: spoken.display.end_ms };
    }, kanjiLine);
    const drawn = await speakAndRead();
    const totalMs = Math.max(played.samples / 22.05, played.endMs, 1);
    const vertices = drawn.line.flatMap(({ speaker, points }) => points.map((p) => `${speaker}:${p.join(',')}`));
    const missing = [];
    for (const [speaker, { accent, spans }] of played.pitch.speakers.entries()) {
      for (const [sample, factor] of accent) {
        if (!spans.some(([start, end]) => start <= sample && sample < end)) continue;
        const x = Math.round(sample / 22.05 / totalMs * (drawn.width - 1));
        if (!vertices.some((v) => v.startsWith(`${speaker}:${sample},${factor},${x},`))) missing.push(`${speaker}:${sample},${factor} at x ${x}`);
      }
    }
    const eventCount = played.pitch.speakers.reduce((n, s) => n + s.accent.length, 0);
    expect(eventCount >= 4 && drawn.line.length >= 2, `${eventCount} accent events, ${drawn.line.length} lines drawn`);
    expect(missing.length === 0, `accent events without a vertex on the line: ${missing.join('; ')}`);
    // A higher factor is drawn higher.
    const heights = drawn.line.flatMap(({ points }) => points);
    expect(heights.every(([, f, , y]) => heights.every(([, g, , z]) => !(f > g) || y <= z)), 'a higher pitch factor is drawn lower');
    expect(drawn.flatMissing.length === 0 && drawn.coloured > 0, `line pieces not on the canvas: ${drawn.flatMissing.join(' ')}`);

    // The same voice without accent: no events, nothing drawn.
    await page.evaluate(async () => {
      const files = await vokari.bundledVoice();
      files['vokari.txt'] = new Uint8Array([...files['vokari.txt'], ...new TextEncoder().encode('\r\nvoice.pitch.accent,0\r\n')]);
      await vokari.load(files);
      window.vokariPage.stats.clickToSoundMs = [];
    });
    const flat = await speakAndRead();
    expect(flat.line.length === 0 && flat.coloured === 0, `without accent: ${flat.line.length} lines, ${flat.coloured} line pixels`);
  } finally {
    await page.evaluate(async () => { await vokari.loadBundled(); });
    await page.$eval('#script', (box, text) => { box.value = text; }, authored);
  }
});

await check('a voice whose own analyser dictionary is damaged reads without it: no reading line', async () => {
  const got = await page.evaluate(async () => {
    const files = await vokari.bundledVoice();
    files['naist-jdic/checksums'] = new TextEncoder().encode('sys.dic 10 0000000000000000\n');
    files['naist-jdic/sys.dic'] = new Uint8Array(10);
    const loaded = await vokari.load(files);
    const spoken = await vokari.speak('\\0今日は');
    await vokari.loadBundled();
    return { loaded: loaded.reading, reading: spoken.reading, warned: /WARNING : voice\.reading\.dic/.test(loaded.log) };
  });
  expect(got.warned && got.loaded === 'off' && got.reading === null, `load ${JSON.stringify(got)}`);
});

await check('before the dictionary arrives the page speaks at once, with the general pairs, and says so', async () => {
  let release;
  const gate = new Promise((resolve) => { release = resolve; });
  const held = await serve(site, 0, async (path) => { if (/naist-jdic/.test(path)) await gate; });
  const early = await browser.newPage();
  try {
    await early.goto(held.url);
    await early.waitForFunction(() => window.vokariPage && window.vokariPage.ready, { timeout: 30000 });
    const before = await early.evaluate(async () => {
      const kana = await vokari.speak('\\0きょう');
      const kanji = await vokari.speak('\\0今日');  // the general pair 今日,きょう
      return { mode: vokari.readingMode(), kana: kana.wav ? kana.wav.join() : '', kanji: kanji.wav ? kanji.wav.join() : '',
               status: document.getElementById('status').textContent };
    });
    expect(before.mode === 'pairs' && before.kana.length > 1000 && before.kanji === before.kana,
           `before the dictionary: reading ${before.mode}, kana ${before.kana.length} bytes, kanji ${before.kanji === before.kana ? 'the same' : 'other'}`);
    expect(/reading\.dic/.test(before.status), `the status says ${before.status}`);
    release();
    const after = await early.evaluate(async () => (await vokari.readingReady).mode);
    expect(after === 'context', `after the dictionary: reading ${after}`);
  } finally {
    release();
    await early.close();
    await held.close();
  }
});

await check('Unicode to Shift_JIS: the first and last characters of each lead-byte range, unconvertible ones named', async () => {
  // 0x8140 and 0x9FFC, 0xE040 and 0xFC4B: the two double-byte ranges'
  // ends; 0xA1 and 0xDF: the half-width katakana; 0x7E: the last ASCII byte.
  const samples = [[0x7e], [0x81, 0x40], [0x9f, 0xfc], [0xa1], [0xdf], [0xe0, 0x40], [0xfc, 0x4b]];
  const text = samples.map((b) => new TextDecoder('shift_jis').decode(new Uint8Array(b))).join('');
  const result = await page.evaluate((t) => {
    const encoded = vokari.encode(t);
    const refused = vokari.encode('a😀bé😀');
    return { bytes: [...encoded.bytes], missing: refused.missing, refusedBytes: refused.bytes };
  }, text);
  expect(JSON.stringify(result.bytes) === JSON.stringify(samples.flat()), `encoded as ${result.bytes.map((b) => b.toString(16))}`);
  expect(result.refusedBytes === null && result.missing.length === 2 &&
         result.missing[0].includes('U+1F600') && result.missing[0].includes('character 2') &&
         result.missing[1].includes('U+00E9'), `named ${JSON.stringify(result.missing)}`);
});

await check('settings: each limit accepted, one step beyond refused; they reach the module', async () => {
  const result = await page.evaluate(async () => {
    const refused = [];
    const accepted = [];
    const cases = [['talkSpeed', 10, 9], ['talkSpeed', 2000, 2001], ['messageSpeed', 0, -1], ['messageSpeed', 10000, 10001],
                   ['frequencyMain', 0.1, 0.09], ['frequencyPartner', 8, 8.01], ['talkSpeed', 130, 130.5]];
    for (const [key, inside, outside] of cases) {
      try { vokari.checkSettings({ [key]: inside }); accepted.push(key + inside); } catch (e) { /* wrong */ }
      try { vokari.checkSettings({ [key]: outside }); } catch (e) { refused.push(e instanceof RangeError ? key + outside : 'other'); }
    }
    await vokari.loadBundled();
    const normal = await vokari.speak('\\0あいうえお');
    const slow = await vokari.speak('\\0あいうえお', { talkSpeed: 260, messageSpeed: 200 });
    const restored = await vokari.speak('\\0あいうえお', { talkSpeed: 130, messageSpeed: 50 });
    return { refused, accepted, lengths: [normal.wav.length, slow.wav.length, restored.wav.length],
             replies: [normal.reply, slow.reply, restored.reply] };
  });
  expect(result.accepted.length === 7, `accepted only ${result.accepted}`);
  expect(result.refused.length === 7 && !result.refused.includes('other'), `refused ${result.refused}`);
  expect(result.lengths[1] > result.lengths[0] && result.lengths[2] === result.lengths[0], `WAV lengths ${result.lengths}`);
  expect(result.replies[1] !== result.replies[0], 'the message speed did not change the waits');
});

await check('the Speak screen plays, paces the reply and offers the WAV', async () => {
  await page.click('#speak-button');
  await page.waitForFunction(() => document.querySelector('.balloon[data-speaker="1"] .text').textContent.length > 0,
                             { timeout: 20000 });
  const state = await page.evaluate(async () => ({
    reply: document.getElementById('reply').textContent,
    download: !document.getElementById('download-wav').disabled,
    moments: document.querySelectorAll('#moments tbody tr').length,
    svg: await vokari.utteranceSvg(window.vokariPage.wav, window.vokariPage.reply, 'test'),
  }));
  expect(state.svg.startsWith('<svg') || state.svg.startsWith('<?xml'), `picture: ${state.svg.slice(0, 80)}`);
  expect(state.svg.includes('本'), 'the picture shows no character of the reply');
  expect(state.reply.includes('\\_w['), `reply shown: ${state.reply}`);
  expect(state.download && state.moments > 10, `download ${state.download}, ${state.moments} moments`);
  await screenshot(page, '1-speak');
  await page.$eval('#script', (box) => { box.value = 'こんにちは😀'; });
  await page.click('#speak-button');
  const error = await page.$eval('#script-error', (e) => e.textContent);
  expect(error.includes('U+1F600'), `error shown: ${error}`);
  // The kana of the script spoken before are no longer shown under this one.
  const reading = await page.$eval('#reading-line', (e) => e.textContent);
  expect(!/^Voiced as:/.test(reading), `under the unspoken script: ${reading}`);
  await screenshot(page, '2-speak-unconvertible');
});

await check('status: an empty script, a script cut at the limit, one status per tab, one header line, readable placeholders', async () => {
  const statusAfterSpeaking = async (script) => {
    await page.$eval('#script', (box, text) => { box.value = text; }, script);
    await page.evaluate(() => { document.getElementById('status').textContent = ''; });
    await page.click('#speak-button');
    await page.waitForFunction(() => /^(Speaking:|The script)/.test(document.getElementById('status').textContent),
                               { timeout: 30000 });
    return page.$eval('#status', (e) => e.textContent);
  };
  const empty = await statusAfterSpeaking(' \n ');
  expect(/empty, so it makes no sound/.test(empty), `empty script: ${empty}`);
  const cut = await statusAfterSpeaking('あいうえお'.repeat(80));
  expect(/cut at the module's limit of 47\.6 s at character \d+ of 400 shown, 「[あいうえお]+…」/.test(cut), `long script: ${cut}`);
  await page.click('#stop-button');
  const inTab = await page.evaluate(() => {
    const tab = (name) => { document.querySelector(`.tab[data-screen="${name}"]`).click(); return document.getElementById('status').textContent; };
    return { voice: tab('voice'), speak: tab('speak') };
  });
  expect(inTab.voice !== inTab.speak && inTab.speak === 'Stopped.', `status per tab: ${JSON.stringify(inTab)}`);
  const layout = await page.evaluate(() => {
    const header = document.querySelector('header');
    const status = document.getElementById('status');
    const before = header.getBoundingClientRect().height;
    status.textContent = 'a long status line that goes on and on '.repeat(12);
    const after = header.getBoundingClientRect().height;
    const tops = [...header.children].map((e) => Math.round(e.getBoundingClientRect().top + e.getBoundingClientRect().height / 2));
    const canvas = document.createElement('canvas').getContext('2d');
    const cramped = [];
    for (const input of document.querySelectorAll('input[placeholder]')) {
      const style = getComputedStyle(input);
      canvas.font = style.font;
      const room = input.clientWidth - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight);
      if (canvas.measureText(input.placeholder).width > room) cramped.push(input.id);
    }
    return { before, after, tops, cramped };
  });
  expect(layout.before === layout.after && new Set(layout.tops).size === 1, `header ${JSON.stringify(layout)}`);
  expect(layout.cramped.length === 0, `placeholders cut off: ${layout.cramped}`);
});

await check('a damaged voice zip shows the module log; a zip without a voice changes nothing', async () => {
  const files = Object.fromEntries(Object.entries(fixtureVoice([])).map(([p, b]) => ['myvoice/' + p, new Uint8Array(b)]));
  for (const path of Object.keys(files)) if (path.startsWith('myvoice/vokariv0/')) delete files[path];
  const firstConsonant = Object.keys(files).find((p) => p.startsWith('myvoice/vokaric0/') && p.endsWith('.wav'));
  files[firstConsonant] = files[firstConsonant].slice(0, 20);
  const dir = mkdtempSync(join(tmpdir(), 'vokari-web-zip-'));
  writeFileSync(join(dir, 'damaged.zip'), zipSync(files));
  writeFileSync(join(dir, 'notes.zip'), zipSync({ 'readme.txt': new TextEncoder().encode('no voice here') }));
  await page.click('.tab[data-screen="voice"]');
  const input = await page.$('#open-zip');
  await input.uploadFile(join(dir, 'damaged.zip'));
  await page.waitForFunction(() => /Loaded damaged\.zip/.test(document.getElementById('status').textContent), { timeout: 20000 });
  const shown = await page.evaluate(() => ({ log: document.getElementById('log-voice').textContent,
                                            problems: document.getElementById('voice-problems').textContent }));
  expect(/reading data from directory vokariv0 : -{107} Done/.test(shown.log), `log shown: ${shown.log.slice(0, 600)}`);
  expect(shown.problems.trim() === 'vokariv0: no sample could be read\nreading details from directory vokariv0: cannot be opened',
         `problems shown: ${JSON.stringify(shown.problems)}`);
  await screenshot(page, '3-voice-damaged');
  await input.uploadFile(join(dir, 'notes.zip'));
  await page.waitForFunction(() => /holds no vokari\.txt/.test(document.getElementById('status').textContent), { timeout: 20000 });
  const stillSpeaks = await page.evaluate(async () => (await vokari.speak('\\0かきくけこ')).wav !== null);
  expect(stillSpeaks, 'the damaged voice no longer speaks its consonants');
  rmSync(dir, { recursive: true, force: true });
});

await check('a voice whose file names are in capitals, as Windows allows, speaks as in lower case', async () => {
  const files = fixtureVoice([]);
  const shouting = Object.fromEntries(Object.entries(files).map(([p, b]) => [p.toUpperCase(), b]));
  const wavs = await page.evaluate(async (lower, upper) => {
    const bytes = (map) => Object.fromEntries(Object.entries(map).map(([p, b]) => [p, new Uint8Array(b)]));
    const heard = [];
    for (const voice of [lower, upper]) {
      await vokari.load(bytes(voice));
      heard.push([...(await vokari.speak('\\0かきくけこ@a[chime]あ')).wav]);
    }
    await vokari.loadBundled();
    return heard;
  }, files, shouting);
  expect(wavs[0].length > 1058 && fnv1a(wavs[0]) === fnv1a(wavs[1]), `WAVs of ${wavs[0].length} and ${wavs[1].length} bytes differ`);
});

await check('a script of 1 MB leaves the page running while the module works on it, and can be stopped', async () => {
  const result = await page.evaluate(async () => {
    await vokari.loadBundled();
    const script = '\\0' + 'あいうえおかきくけこ'.repeat(52429).slice(0, 524288);  // 1 MB of Shift_JIS
    let ticks = 0;
    let settled = false;
    const timer = setInterval(() => { if (!settled) ticks++; }, 20);
    const spoken = await vokari.speak(script);
    settled = true;
    clearInterval(timer);
    // Stopped half-way, the script is abandoned and the voice comes back.
    const abandoned = vokari.speak(script).then(() => 'finished', (e) => e.message);
    vokari.restart();
    const stopped = await abandoned;
    const after = await vokari.speak('\\0あいうえお');
    return { ticks, wavSize: spoken.wav ? spoken.wav.length : 0, stopped, speaksAfter: after.wav !== null };
  });
  expect(result.stopped === 'The module was stopped.' && result.speaksAfter, `stopped: ${result.stopped}, speaks after: ${result.speaksAfter}`);
  // The page's own timer kept firing while the request ran in the worker.
  expect(result.ticks > 0, 'the page did not run while the module worked');
  expect(result.wavSize === 58 + 1048576, `a WAV of ${result.wavSize} bytes (the module's limit is 1048576 samples)`);
});

// What the Record button says when the microphone cannot be opened.
async function microphoneMessage(target) {
  await target.click('.tab[data-screen="record"]');
  await target.click('#record-button');
  await target.waitForFunction(() => !document.getElementById('mic-message').hidden, { timeout: 10000 });
  return target.$eval('#mic-message', (e) => e.textContent);
}

await check('a missing microphone and a refused one are explained, each as what it is', async () => {
  const missing = await microphoneMessage(page);
  expect(/^No microphone was found/.test(missing), `without a device: ${missing}`);
  await screenshot(page, '4-record-no-microphone');
  // A device, but the author says no.
  const refusing = await puppeteer.launch({ executablePath: '/usr/bin/chromium', headless: true,
                                           args: [...browserArgs, '--use-fake-device-for-media-stream'] });
  try {
    const refused = await refusing.newPage();
    await refused.goto(server.url);
    await refused.waitForFunction(() => window.vokariPage && window.vokariPage.ready, { timeout: 30000 });
    const cdp = await refused.createCDPSession();
    await cdp.send('Browser.setPermission', { origin: server.url.replace(/\/$/, ''), permission: { name: 'microphone' },
                                              setting: 'denied' });
    const message = await microphoneMessage(refused);
    expect(/^The microphone was refused/.test(message), `refused: ${message}`);
  } finally {
    await refusing.close();
  }
});
await check('buildVoice decodes sound files and leaves out names that are no syllable', async () => {
  const result = await page.evaluate(async (wav) => {
    const bytes = new Uint8Array(wav);
    const built = await vokari.buildVoice({ a: bytes, o: bytes.slice(), xyz: bytes.slice() }, 1);
    return { files: Object.keys(built.files).sort(), slots: built.report.slots, report: built.reportText,
             settings: new TextDecoder().decode(built.files['vokari.txt']) };
  }, [...vowelWav()]);
  expect(result.files.includes('reading.dic') && /\r\nvoice\.translate\.dic,reading\.dic\r\n/.test(result.settings),
         `a new voice without reading: ${result.files}\n${result.settings}`);
  expect(result.slots === 2 && result.files.includes('vokariv1/0.wav') && result.files.includes('vokariv1/4.wav') &&
         !result.files.some((f) => f.startsWith('vokariv0/')), `files ${result.files}`);
  expect(/xyz\.wav: not named after a syllable/.test(result.report), `report ${result.report.slice(0, 200)}`);
});

// Recordings opened on the Record screen go through vokari-voicebank's own
// build: a clipped one and a silent one are left out in its words, a
// kana-named one is named; with the native command at hand
// (VOKARI_VOICEBANK), its report says the same of the same folder.
await check('recordings opened in the page are left out and named as vokari-voicebank does', async () => {
  const dir = mkdtempSync(join(tmpdir(), 'vokari-web-recordings-'));
  const local = await browser.newPage();
  try {
    const vowel = vowelSamples(48000);
    const files = { 'a.wav': vowel, 'ke.wav': vowel.map((v) => Math.max(-1, Math.min(1, 4 * v))),
                    'mo.wav': new Array(24000).fill(0), 'ぎ.wav': vowel };
    for (const [name, samples] of Object.entries(files)) writeFileSync(join(dir, name), wavOf(samples, 48000));
    const lines = ['ke.wav: clipped (the recording reaches full scale and is cut off)',
                   'mo.wav: silent or nearly silent (below -50 dBFS)',
                   'ぎ.wav: not named after a syllable (name it gi.wav); not used'];
    await local.goto(server.url);
    await local.waitForFunction(() => window.vokariPage && window.vokariPage.ready, { timeout: 30000 });
    await local.click('.tab[data-screen="record"]');
    await (await local.$('#open-recordings')).uploadFile(...Object.keys(files).map((name) => join(dir, name)));
    await local.waitForFunction(() => /recordings opened/.test(document.getElementById('status').textContent), { timeout: 30000 });
    const opened = await local.$eval('#mic-message', (e) => e.textContent);
    expect(opened.includes(lines[2]), `on opening: ${opened}`);
    await local.click('#build-voice');
    await local.waitForFunction(() => window.vokariPage.built, { timeout: 60000 });
    const report = await local.evaluate(() => window.vokariPage.built.reportText);
    for (const line of lines) expect(report.includes(line), `no "${line}" in the page's report:\n${report}`);
    if (process.env.VOKARI_VOICEBANK) {
      mkdirSync(join(dir, 'module'));
      const native = spawnSync(process.env.VOKARI_VOICEBANK, [dir, join(dir, 'module')], { encoding: 'utf8' }).stderr;
      for (const line of lines) expect(native.includes(line), `no "${line}" in vokari-voicebank's report:\n${native}`);
    }
  } finally {
    await local.close();
    rmSync(dir, { recursive: true, force: true });
  }
});

// A WAV that once made a reader loop for ever (a data chunk claiming far
// past the end, then a list entry whose length wraps): the page's imports
// refuse it with a message and go on working.
await check('a file that hangs a careless reader is refused by the page\'s imports', async () => {
  const hostile = [...readFileSync(join(root, 'fuzz', 'corpus', 'fuzz_recording', 'data_past_end_then_looping_list'))];
  const result = await page.evaluate(async (bytes) => {
    const started = performance.now();
    let built = '';
    try {
      await vokari.buildVoice({ 'a.wav': new Uint8Array(bytes) });
      built = 'built';
    } catch (error) {
      built = error.message;
    }
    const cv = await vokari.importCvBank({ 'b/oto.ini': 'a.wav=あ,0,100,0,50,0\r\n', 'b/a.wav': new Uint8Array(bytes) });
    return { built, cv: cv.status, report: cv.report, ms: performance.now() - started };
  }, hostile);
  console.log(`      refused in ${result.ms.toFixed(0)} ms`);
  expect(/could not be built:[\s\S]*a\.wav/.test(result.built), `buildVoice: ${result.built}`);
  expect(result.cv === 1 && /a\.wav/.test(result.report), `CV import ${result.cv}: ${result.report}`);
});

await check('opened as a file, the page says to serve it instead', async () => {
  const local = await browser.newPage();
  await local.goto(pathToFileURL(resolve(site, 'index.html')).href);
  await local.waitForFunction(() => /web server/.test(document.getElementById('status').textContent), { timeout: 10000 });
  await local.close();
});

// A small CV bank made here: a vowel-like tone at 180 Hz whose strong
// harmonics tell the vowels apart, consonants as noise before it, each file
// with 100 ms of silence around the syllable.  The top folder's oto.ini is
// Shift_JIS over 44.1 kHz 16-bit mono files; the sub-folder "strong" has a
// UTF-8 oto.ini with a BOM over a 44.1 kHz stereo 24-bit file.
const SHIFT_JIS_KANA = { あ: [0x82, 0xa0], い: [0x82, 0xa2], う: [0x82, 0xa4], え: [0x82, 0xa6], お: [0x82, 0xa8],
                         か: [0x82, 0xa9], き: [0x82, 0xab], く: [0x82, 0xad], さ: [0x82, 0xb3] };
const VOWEL_HARMONICS = { a: [4, 6], i: [2, 14], u: [2, 7], e: [3, 11], o: [3, 5] };
let noiseSeed = 12345;
function noise() {
  noiseSeed = (noiseSeed * 1103515245 + 12345) % 2147483648;
  return noiseSeed / 1073741824 - 1;
}
// consonant: [[ms, 'silence'|'noise', level], ...] before the vowel.
function syllable(rate, vowel, consonant = []) {
  noiseSeed = 12345;
  const out = new Array(Math.round(rate * 0.1)).fill(0);
  for (const [ms, kind, level] of consonant) {
    for (let i = 0; i < rate * ms / 1000; i++) out.push(kind === 'noise' ? level * noise() : 0);
  }
  const length = rate * 0.45;
  for (let i = 0; i < length; i++) {
    const t = i / rate;
    let v = 0;
    for (let h = 1; h <= 14; h++) v += Math.sin(2 * Math.PI * 180 * h * t) / h * (VOWEL_HARMONICS[vowel].includes(h) ? 3 : 1);
    out.push(0.2 * Math.min(1, i / (rate * 0.01), (length - i) / (rate * 0.02)) * v);
  }
  return out.concat(new Array(Math.round(rate * 0.1)).fill(0));
}
function wavFile(rate, channels, bits, samples) {
  const bytesPer = bits / 8;
  const size = samples.length * channels * bytesPer;
  const data = Buffer.alloc(44 + size);
  data.write('RIFF', 0); data.writeUInt32LE(36 + size, 4); data.write('WAVEfmt ', 8);
  data.writeUInt32LE(16, 16); data.writeUInt16LE(1, 20); data.writeUInt16LE(channels, 22); data.writeUInt32LE(rate, 24);
  data.writeUInt32LE(rate * channels * bytesPer, 28); data.writeUInt16LE(channels * bytesPer, 32); data.writeUInt16LE(bits, 34);
  data.write('data', 36); data.writeUInt32LE(size, 40);
  const full = 2 ** (bits - 1) - 1;
  samples.forEach((s, i) => {
    for (let c = 0; c < channels; c++) {
      const at = 44 + (i * channels + c) * bytesPer;
      const value = Math.round(Math.max(-1, Math.min(1, s)) * full);
      if (bits === 16) data.writeInt16LE(value, at); else data.writeIntLE(value, at, 3);
    }
  });
  return new Uint8Array(data);
}
function shiftJis(text) {
  return new Uint8Array([...text].flatMap((c) => SHIFT_JIS_KANA[c] || [c.charCodeAt(0)]));
}
function cvBank() {
  const mono = (vowel, consonant) => wavFile(44100, 1, 16, syllable(44100, vowel, consonant));
  const ka = [[20, 'silence'], [10, 'noise', 0.5], [35, 'noise', 0.08]];
  const sa = [[125, 'noise', 0.15]];
  const top = ['あ.wav=,80,60,-500,20,10', 'い.wav=い,80,60,-500,20,10', 'う.wav=う,80,60,-500,20,10',
               'え.wav=え,80,60,-500,20,10', 'お.wav=お,80,60,-500,20,10', 'か.wav=か,80,100,-520,85,20',
               'か.wav=a か,80,100,-520,85,20', 'き.wav=き,80,100,-520,85,20', 'さ.wav=さ,80,x,1',
               'さ.wav=- さ,80,140,-540,145,20'].join('\r\n') + '\r\n';
  return {
    'mycv/oto.ini': shiftJis(top),
    'mycv/character.txt': shiftJis('name=test\r\n'),
    'mycv/あ.wav': mono('a'), 'mycv/い.wav': mono('i'), 'mycv/う.wav': mono('u'), 'mycv/え.wav': mono('e'),
    'mycv/お.wav': mono('o'), 'mycv/か.wav': mono('a', ka), 'mycv/さ.wav': mono('a', sa),
    'mycv/strong/oto.ini': new Uint8Array([0xef, 0xbb, 0xbf, ...new TextEncoder().encode('く.wav=く,80,100,-520,85,20\r\n')]),
    'mycv/strong/く.wav': wavFile(44100, 2, 24, syllable(44100, 'u', ka)),
  };
}
// The importer's vowel delay of consonant slot `slot`, in ms of the source.
function vowelDelayMs(details, slot) {
  const section = details.split(`[${slot}]`)[1] || '';
  const delay = Number((/adjust\.vowel\.delay,(-?\d+)/.exec(section) || [])[1]);
  const rate = Number((/correct\.frequency,([\d.]+)/.exec(section) || [])[1]);
  return delay * rate / 22.05;
}

await check('a CV bank imports in the page: report by oto.ini line, sub-banks, stereo 24-bit, and it speaks', async () => {
  const bank = Object.fromEntries(Object.entries(cvBank()).map(([p, b]) => [p, [...b]]));
  bank.monoKu = [...wavFile(44100, 1, 16, syllable(44100, 'u', [[20, 'silence'], [10, 'noise', 0.5], [35, 'noise', 0.08]]))];
  const result = await page.evaluate(async (bank) => {
    const files = Object.fromEntries(Object.entries(bank).filter(([p]) => p !== 'monoKu').map(([p, b]) => [p, new Uint8Array(b)]));
    const syllables = (await vokari.info()).syllables;
    const slot = (romaji) => syllables.findIndex((s) => s.romaji === romaji);
    const all = await vokari.importCvBank(files);
    const strong = await vokari.importCvBank(files, { subbank: 'strong', speaker: 1 });
    // The stereo 24-bit file against the same sound as 16-bit mono.
    const asMono = await vokari.importCvBank(Object.assign({}, files, { 'mycv/strong/く.wav': new Uint8Array(bank.monoKu) }));
    const ku = `vokaric0/${slot('ku')}.wav`;
    const stereoBytes = all.files[ku];
    const monoBytes = asMono.files[ku];
    const sameBytes = stereoBytes.filter((b, i) => b === monoBytes[i]).length;
    const missing = await vokari.importCvBank(files, { subbank: 'nope' });
    await vokari.load(all.files);
    const spoken = await vokari.speak('\\0あいうえお、かさく');
    let loud = 0;
    for (let i = 58; i < spoken.wav.length; i++) if (spoken.wav[i] !== 0xff && spoken.wav[i] !== 0x7f) loud++;
    await vokari.loadBundled();
    const text = (bytes) => new TextDecoder().decode(bytes);
    return { status: all.status, report: all.report, files: Object.keys(all.files).sort(), loud,
             details: text(all.files['vokaric0/details.txt']), ku: [stereoBytes.length, monoBytes.length, sameBytes], slots: { ka: slot('ka'), sa: slot('sa'), ku: slot('ku') },
             strong: [strong.status, Object.keys(strong.files).filter((p) => /\.wav$/.test(p)), strong.report],
             missing: [missing.status, missing.files, missing.report] };
  }, bank);
  const { ka, sa, ku } = result.slots;
  const expected = ['vokariv0/0.wav', 'vokariv0/1.wav', 'vokariv0/2.wav', 'vokariv0/3.wav', 'vokariv0/4.wav',
                    `vokaric0/${ka}.wav`, `vokaric0/${sa}.wav`, `vokaric0/${ku}.wav`, 'vokari.txt', 'voicebank-report.txt'];
  expect(result.status === 3, `status ${result.status}\n${result.report}`);
  expect(expected.every((f) => result.files.includes(f)) && result.files.filter((f) => /\.wav$/.test(f)).length === 8,
         `files ${result.files}`);
  for (const line of ['oto.ini: Shift_JIS, 9 entries', 'strong/oto.ini: UTF-8 with BOM, 1 entries',
                      'oto.ini:8: き.wav: missing WAV file', '1 entries ignored', '"a か" (oto.ini:7)',
                      '8 of 107 slots mapped from 2 oto.ini file(s)', '99 slots left empty']) {
    expect(result.report.includes(line), `no "${line}" in the report:\n${result.report}`);
  }
  expect(/^ {2}oto\.ini:9: /m.test(result.report), `the broken line 9 is not named:\n${result.report}`);
  // The vowel starts where PREUTTERANCE says, also in the stereo 24-bit file.
  for (const [slot, ms] of [[ka, 85], [sa, 145], [ku, 85]]) {
    const got = vowelDelayMs(result.details, slot);
    expect(Math.abs(got - ms) <= 1, `slot ${slot}: vowel at ${got.toFixed(2)} ms, PREUTTERANCE ${ms} ms`);
  }
  const [stereoLength, monoLength, same] = result.ku;
  expect(stereoLength === monoLength && same >= 0.99 * monoLength,
         `ku from stereo 24-bit: ${stereoLength} bytes, from mono 16-bit: ${monoLength}, ${same} alike`);
  expect(result.loud > 22050 * 0.8, `the imported voice spoke ${result.loud} non-silent samples`);
  expect(result.strong[0] === 3 && JSON.stringify(result.strong[1]) === JSON.stringify([`vokaric1/${ku}.wav`]) &&
         !result.strong[2].includes('Shift_JIS'), `sub-bank "strong": ${JSON.stringify(result.strong)}`);
  expect(result.missing[0] === 1 && result.missing[1] === null && /no sub-folder nope in mycv/.test(result.missing[2]),
         `sub-bank "nope": ${JSON.stringify(result.missing)}`);

  // The same bank opened as a zip on the Voice screen.
  const dir = mkdtempSync(join(tmpdir(), 'vokari-web-cv-'));
  writeFileSync(join(dir, 'mycv.zip'), zipSync(cvBank()));
  await page.click('.tab[data-screen="voice"]');
  await (await page.$('#open-zip')).uploadFile(join(dir, 'mycv.zip'));
  await page.waitForFunction(() => /^Imported mycv\.zip/.test(document.getElementById('status').textContent), { timeout: 60000 });
  const shown = await page.evaluate(() => ({ report: document.getElementById('cv-report').textContent,
                                            subbanks: [...document.getElementById('cv-subbank').options].map((o) => o.value),
                                            loud: window.vokariPage.cv.speech.wav.length }));
  await screenshot(page, '7-voice-cv-bank');
  expect(shown.report.includes('oto.ini:8: き.wav: missing WAV file'), `report shown: ${shown.report.slice(0, 300)}`);
  expect(JSON.stringify(shown.subbanks) === JSON.stringify(['', 'strong']), `sub-banks offered: ${shown.subbanks}`);
  expect(shown.loud > 58 + 22050, `the page spoke ${shown.loud} bytes with the bank`);
  await page.click('#use-bundled');
  rmSync(dir, { recursive: true, force: true });
});

// With the native vokari-voicebank at hand (VOKARI_VOICEBANK), the page's
// import is compared with the command's on the same bank.  The sample bytes
// may differ by a mu-law step where the browser's resampler and libm differ
// from the desktop's; the slots, timings and corrections may not.
const nativeVoicebank = process.env.VOKARI_VOICEBANK;
if (nativeVoicebank) {
  await check('a CV bank imported in the page gives the details and sample lengths of vokari-voicebank --oto', async () => {
    const bank = cvBank();
    const dir = mkdtempSync(join(tmpdir(), 'vokari-web-cvnative-'));
    for (const [path, bytes] of Object.entries(bank)) {
      mkdirSync(dirname(join(dir, path)), { recursive: true });
      writeFileSync(join(dir, path), bytes);
    }
    mkdirSync(join(dir, 'module'));
    let status = 0;
    try {
      execFileSync(nativeVoicebank, ['--oto', join(dir, 'mycv'), join(dir, 'module')], { stdio: 'ignore' });
    } catch (error) {
      status = error.status;
    }
    // The bank itself; the settings and reading dictionary beside it are the
    // new voice's reading set-up, which each writes in its own words.
    const native = Object.fromEntries(Object.entries(readTree(join(dir, 'module')))
      .filter(([path]) => /^vokari[vc][01]\//.test(path)));
    rmSync(dir, { recursive: true, force: true });
    const web = await page.evaluate(async (bank) => {
      const files = Object.fromEntries(Object.entries(bank).map(([p, b]) => [p, new Uint8Array(b)]));
      const result = await vokari.importCvBank(files);
      return { status: result.status, files: Object.fromEntries(Object.entries(result.files).map(([p, b]) => [p, [...b]])) };
    }, Object.fromEntries(Object.entries(bank).map(([p, b]) => [p, [...b]])));
    const wrong = [];
    if (web.status !== status) wrong.push(`status ${web.status}, native ${status}`);
    for (const [path, bytes] of Object.entries(native)) {
      const got = web.files[path];
      if (!got) wrong.push(`${path}: not made in the page`);
      else if (path.endsWith('details.txt') ? Buffer.compare(Buffer.from(got), Buffer.from(bytes)) !== 0 : got.length !== bytes.length) {
        wrong.push(`${path}: differs`);
      }
    }
    expect(Object.keys(native).length === 10 && wrong.length === 0, `${Object.keys(native).length} files natively; ${wrong.join('; ')}`);
  });
}

await check('oto.ini in Shift_JIS is told from other bytes at both sides of each lead-byte range, as natively', async () => {
  // The page decodes Shift_JIS with the browser's decoder instead of iconv.
  const told = [[0x81, 0x40], [0x9f, 0x40], [0xe0, 0x40], [0xfc, 0x40], [0xa1], [0xdf]];
  const refused = [[0x80, 0x40], [0xa0], [0xfd, 0x40]];
  const reports = await page.evaluate(async (cases) => {
    const line = (alias) => [...new TextEncoder().encode('x.wav='), ...alias, ...new TextEncoder().encode(',1,2,3,4,5\r\n')];
    const out = [];
    for (const alias of cases) {
      const oto = new Uint8Array([...line([0x61]), ...line(alias)]);
      out.push((await vokari.importCvBank({ 'b/oto.ini': oto })).report);
    }
    return out;
  }, [...told, ...refused]);
  const wrong = [];
  reports.slice(0, told.length).forEach((r, i) => {
    if (!r.startsWith('oto.ini: Shift_JIS, 2 entries')) wrong.push(`${told[i]}: ${r.split('\n')[0]}`);
  });
  reports.slice(told.length).forEach((r, i) => {
    if (!r.includes('oto.ini:2: cannot tell the encoding')) wrong.push(`${refused[i]}: ${r.split('\n')[0]}`);
  });
  expect(wrong.length === 0, wrong.join('\n'));
});

await check('no uncaught error in the page', async () => {
  expect(pageErrors.length === 0, pageErrors.join('\n'));
});
// The workbench of the release zip, as a Windows author meets it: the zip
// unpacked, workbench.html opened from the folder (file://), each task done
// through the page; it reads kanji in context as the DLL does, and says so
// plainly where it cannot.
await check('the release zip\'s workbench opens from the unpacked folder, reads in context, speaks, imports a CV bank and builds a voice', async () => {
  expect(nativeSay, 'VOKARI_SAY (the native build\'s vokari-say) is needed for the native reference');
  const dir = mkdtempSync(join(tmpdir(), 'vokari-web-release-'));
  try {
    writeFileSync(join(dir, 'vokari.dll'), 'MZ');
    const zip = execFileSync('bash', [join(root, 'scripts', 'package.sh'), '--assemble-zip', join(dir, 'vokari.dll'), dir, site])
      .toString().trim();
    execFileSync('unzip', ['-q', zip, '-d', join(dir, 'unpacked')]);
    const [folder] = readdirSync(join(dir, 'unpacked'));
    const unpacked = join(dir, 'unpacked', folder, 'workbench', 'workbench.html');
    writeFileSync(join(dir, 'mycv.zip'), zipSync(cvBank()));
    writeFileSync(join(dir, 'a.wav'), vowelWav());
    const local = await browser.newPage();
    const status = (pattern) => local.waitForFunction((p) => new RegExp(p).test(document.getElementById('status').textContent),
                                                       { timeout: 60000 }, pattern);
    try {
      await local.goto(pathToFileURL(unpacked).href);
      await local.waitForFunction(() => window.vokariPage && window.vokariPage.ready, { timeout: 30000 });
      const reading = await local.evaluate(async () => { const r = await vokari.readingReady; return `${r.dictionary} ${r.mode} ${r.why}`; });
      expect(reading === 'ready context ', `from the zip the dictionary is ${reading}`);
      const nativeReading = execFileSync(nativeSay, ['-m', join(root, 'voices', 'default'), '--reading', kanjiLine]).toString().trim();
      const zipReading = await local.evaluate(async (line) => (await vokari.speak(line)).reading, kanjiLine);
      expect(zipReading === nativeReading, `the zip's workbench reads "${zipReading}", vokari-say --reading "${nativeReading}"`);
      await local.click('#speak-button');
      await status('^Speaking: ');
      expect(await local.evaluate(() => window.vokariPage.wav.length > 10000), 'no speech from the default script');
      await local.click('.tab[data-screen="voice"]');
      await (await local.$('#open-zip')).uploadFile(join(dir, 'mycv.zip'));
      await status('^Imported mycv\\.zip');
      await local.click('.tab[data-screen="record"]');
      await (await local.$('#open-recordings')).uploadFile(join(dir, 'a.wav'));
      await local.click('#build-voice');
      await local.waitForFunction(() => window.vokariPage.built, { timeout: 60000 });
      const files = await local.evaluate(() => Object.keys(window.vokariPage.built.files));
      expect(files.includes('vokariv0/0.wav'), `built ${files}`);
    } finally {
      await local.close();
    }
    // Without its dictionary script the page says so where the author looks.
    rmSync(join(dirname(unpacked), 'naist-jdic.js'));
    const bare = await browser.newPage();
    try {
      await bare.goto(pathToFileURL(unpacked).href);
      await bare.waitForFunction(() => window.vokariPage && window.vokariPage.ready, { timeout: 30000 });
      const absent = await bare.evaluate(async () => (await vokari.readingReady).dictionary);
      expect(absent === 'absent', `without naist-jdic.js the dictionary is ${absent}`);
      await bare.waitForFunction(() => /not in context as the DLL reads them.*naist-jdic\.js is missing/.test(document.getElementById('status').textContent));
    } finally {
      await bare.close();
    }
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
});

await browser.close();

// Chromium's fake microphone, fed from a WAV file: one steady vowel-like
// sound, looped by the browser.  A take starts wherever the loop stands, so
// the sound is steady throughout: every take holds a whole vowel to measure.
function vowelWav() {
  const rate = 48000;
  return wavOf(vowelSamples(rate, 4.8), rate);
}

// `seconds` of a vowel-like sound at `rate` Hz, peaking near 0.53.
function vowelSamples(rate, seconds = 0.7) {
  const samples = [];
  const length = Math.round(rate * seconds);
  for (let i = 0; i < length; i++) {
    const t = i / rate;
    const envelope = Math.min(1, i / 960, (length - i) / 2400);
    let v = 0;
    for (let h = 1; h <= 12; h++) v += Math.sin(2 * Math.PI * 180 * h * t) / h * (h === 4 || h === 6 ? 2 : 1);
    samples.push(0.25 * envelope * v);
  }
  return samples;
}

// A 16-bit mono WAV of `samples` (+-1.0 full scale) at `rate` Hz.
function wavOf(samples, rate) {
  const data = Buffer.alloc(44 + samples.length * 2);
  data.write('RIFF', 0); data.writeUInt32LE(36 + samples.length * 2, 4); data.write('WAVEfmt ', 8);
  data.writeUInt32LE(16, 16); data.writeUInt16LE(1, 20); data.writeUInt16LE(1, 22); data.writeUInt32LE(rate, 24);
  data.writeUInt32LE(rate * 2, 28); data.writeUInt16LE(2, 32); data.writeUInt16LE(16, 34); data.write('data', 36);
  data.writeUInt32LE(samples.length * 2, 40);
  samples.forEach((s, i) => data.writeInt16LE(Math.round(Math.max(-1, Math.min(1, s)) * 32767), 44 + i * 2));
  return data;
}

await check('a voice recorded through the fake microphone is built, loads and speaks', async () => {
  const dir = mkdtempSync(join(tmpdir(), 'vokari-web-mic-'));
  const wav = join(dir, 'vowels.wav');
  writeFileSync(wav, vowelWav());
  const micBrowser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium', headless: true,
    args: [...browserArgs, '--use-fake-ui-for-media-stream', '--use-fake-device-for-media-stream',
           `--use-file-for-fake-audio-capture=${wav}`],
  });
  try {
    const mic = await micBrowser.newPage();
    await mic.setViewport({ width: 1280, height: 1000 });
    await mic.goto(server.url);
    await mic.waitForFunction(() => window.vokariPage && window.vokariPage.ready, { timeout: 30000 });
    await mic.click('.tab[data-screen="record"]');
    const recorded = ['a', 'i', 'u', 'e', 'o'];
    for (let i = 0; i < recorded.length; i++) {
      await mic.click('#record-button');
      await new Promise((r) => setTimeout(r, 1300));
      if (i === recorded.length - 1) await screenshot(mic, '5-record-recording');
      await mic.click('#record-button');
    }
    await mic.click('#retake-button');
    await new Promise((r) => setTimeout(r, 1300));
    await mic.click('#record-button');
    const count = await mic.$eval('#recorded-count', (e) => e.textContent);
    expect(count === '5 recorded', `after a retake: ${count}`);
    await mic.click('#build-voice');
    await mic.waitForFunction(() => window.vokariPage.built, { timeout: 60000 });
    await mic.click('#play-built');
    await mic.waitForFunction(() => window.vokariPage.builtSpeech, { timeout: 30000 });
    const built = await mic.evaluate(() => {
      const speech = window.vokariPage.builtSpeech;
      const wav = speech.wav || new Uint8Array(0);
      let loud = 0;
      for (let i = 58; i < wav.length; i++) if (wav[i] !== 0xff && wav[i] !== 0x7f) loud++;
      return { files: Object.keys(window.vokariPage.built.files).sort(), loud, report: window.vokariPage.built.reportText,
               log: speech.log };
    });
    await screenshot(mic, '6-record-built');
    for (const romaji of ['0', '1', '2', '3', '4']) {
      expect(built.files.includes(`vokariv0/${romaji}.wav`), `no vokariv0/${romaji}.wav in ${built.files}`);
    }
    expect(built.files.includes('vokariv0/details.txt') && built.files.includes('voicebank-report.txt'), `files ${built.files}`);
    expect(/slots left empty \(they stay silent\):.* ka /.test(built.report), `report: ${built.report.slice(0, 300)}`);
    expect(built.loud > 1000, `the built voice spoke ${built.loud} non-silent samples`);
  } finally {
    await micBrowser.close();
    rmSync(dir, { recursive: true, force: true });
  }
});

await server.close();
console.log(`screenshots: ${shots.join(' ')}`);
if (failures.length) {
  console.log(`${failures.length} failed: ${failures.join('; ')}`);
  process.exit(1);
}
console.log('all passed');
