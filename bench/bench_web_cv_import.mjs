// Importing a CV bank in the browser workbench: a bank of every syllable
// (romaji aliases, 44.1 kHz 16-bit mono files of 0.8 s: a consonant-like
// noise and a 180 Hz vowel-like tone) handed to window.vokari.importCvBank.
// Reports the time to decode the WAVs in the browser, the whole import, and
// the native vokari-voicebank --oto on the same bank when it is built.
// Run after scripts/test-web.sh has built the page:
//   node bench/bench_web_cv_import.mjs [repetitions]
import { execFileSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, rmSync, writeFileSync, existsSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const root = join(dirname(fileURLToPath(import.meta.url)), '..');
const puppeteer = createRequire(join(root, 'web', 'package.json'))('puppeteer-core');
const { serve } = await import(join(root, 'web', 'tests', 'static_server.mjs'));
const repetitions = Number(process.argv[2] || 3);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

function wav(romaji) {
  const rate = 44100;
  const consonant = /^[aiueon]$/.test(romaji) ? 0 : Math.round(rate * 0.08);
  const samples = new Int16Array(Math.round(rate * 0.8));
  let seed = 1;
  for (let i = 0; i < samples.length; i++) {
    const t = (i - consonant) / rate;
    seed = (seed * 1103515245 + 12345) % 2147483648;
    let v = i < consonant ? 0.1 * (seed / 1073741824 - 1) : 0;
    if (i >= consonant) for (let h = 1; h <= 12; h++) v += 0.2 * Math.sin(2 * Math.PI * 180 * h * t) / h;
    samples[i] = Math.round(Math.max(-1, Math.min(1, v * Math.min(1, (samples.length - i) / 2000))) * 32767);
  }
  const data = Buffer.alloc(44 + samples.length * 2);
  data.write('RIFF', 0); data.writeUInt32LE(36 + samples.length * 2, 4); data.write('WAVEfmt ', 8);
  data.writeUInt32LE(16, 16); data.writeUInt16LE(1, 20); data.writeUInt16LE(1, 22); data.writeUInt32LE(rate, 24);
  data.writeUInt32LE(rate * 2, 28); data.writeUInt16LE(2, 32); data.writeUInt16LE(16, 34); data.write('data', 36);
  data.writeUInt32LE(samples.length * 2, 40);
  Buffer.from(samples.buffer).copy(data, 44);
  return { bytes: [...data], preutterance: consonant ? 80 : 20 };
}

const server = await serve(join(root, 'build', 'web', 'site'));
const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', headless: true, args: ['--no-sandbox'] });
const page = await browser.newPage();
await page.goto(server.url);
await page.waitForFunction(() => window.vokariPage && window.vokariPage.ready, { timeout: 30000 });
const syllables = (await page.evaluate(() => vokari.info())).syllables;
const bank = {};
let oto = '';
for (const { romaji } of syllables) {
  const { bytes, preutterance } = wav(romaji);
  bank[`bench/${romaji}.wav`] = bytes;
  oto += `${romaji}.wav=${romaji},0,${preutterance + 20},-780,${preutterance},10\r\n`;
}
bank['bench/oto.ini'] = [...Buffer.from(oto)];

const decodeMs = [];
const totalMs = [];
let slots = '';
for (let run = 0; run < repetitions; run++) {
  const result = await page.evaluate(async (bank) => {
    const files = Object.fromEntries(Object.entries(bank).map(([p, b]) => [p, new Uint8Array(b)]));
    const started = performance.now();
    let decoded = 0;
    const imported = await vokari.importCvBank(files, {
      onProgress: (done, total) => { if (done === total) decoded = performance.now() - started; },
    });
    return { decoded, total: performance.now() - started, line: /\d+ of 107 slots mapped/.exec(imported.stdout)[0] };
  }, bank);
  decodeMs.push(result.decoded);
  totalMs.push(result.total);
  slots = result.line;
}
await browser.close();
await server.close();

let nativeMs = null;
const native = join(root, 'build', 'native', 'tools', 'voicebank', 'vokari-voicebank');
if (existsSync(native)) {
  const dir = mkdtempSync(join(tmpdir(), 'vokari-bench-cv-'));
  for (const [path, bytes] of Object.entries(bank)) {
    mkdirSync(dirname(join(dir, path)), { recursive: true });
    writeFileSync(join(dir, path), Buffer.from(bytes));
  }
  mkdirSync(join(dir, 'module'));
  const started = Date.now();
  try { execFileSync(native, ['--oto', join(dir, 'bench'), join(dir, 'module')], { stdio: 'ignore' }); } catch { /* 3: warnings */ }
  nativeMs = Date.now() - started;
  rmSync(dir, { recursive: true, force: true });
}
console.log(JSON.stringify({ files: syllables.length, slots, decodeMs: +median(decodeMs).toFixed(0),
                             importMs: +median(totalMs).toFixed(0), nativeMs, runs: repetitions }));
