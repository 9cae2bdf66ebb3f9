// The browser workbench from a local static server: the bytes the page loads
// (module, bundled voice, its analyser dictionary and page together), the time until the bundled voice
// is loaded, the time until the page has the WAV of a kana line, the time until it reads kanji in context (the
// analyser dictionary fetched and the voice loaded again), and the time from
// a click on Speak to the sound, for a typical line.  Run after scripts/test-web.sh has built the page:
//   node bench/bench_web_page.mjs [repetitions]
// Prints medians (and extremes) as JSON; the figures belong in
// docs/performance.md, not in a test.
import { createRequire } from 'node:module';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const root = join(dirname(fileURLToPath(import.meta.url)), '..');
const requireFromWeb = createRequire(join(root, 'web', 'package.json'));
const puppeteer = requireFromWeb('puppeteer-core');
const { serve } = await import(join(root, 'web', 'tests', 'static_server.mjs'));

const repetitions = Number(process.argv[2] || 5);
const site = join(root, 'build', 'web', 'site');
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const summary = (values) => ({ median: +median(values).toFixed(1), min: +Math.min(...values).toFixed(1),
                               max: +Math.max(...values).toFixed(1), n: values.length });

const server = await serve(site);
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium', headless: true,
  args: ['--no-sandbox', '--autoplay-policy=no-user-gesture-required'],
});
const loadMs = [];
const firstKanaMs = [];
const contextMs = [];
const loadBytes = [];
const clickToStart = [];
const firstClick = [];
const requestMs = [];
let deviceMs = 0;
for (let run = 0; run < repetitions; run++) {
  // A fresh context each time: nothing comes from the browser's cache.
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  const before = server.bytesSent();
  const started = Date.now();
  await page.goto(server.url);
  await page.waitForFunction(() => window.vokariPage && window.vokariPage.ready, { timeout: 60000, polling: 5 });
  loadMs.push(Date.now() - started);
  loadBytes.push(server.bytesSent() - before);
  // The first kana spoken, while the analyser dictionary is still on its way.
  const kana = await page.evaluate(async () => ((await vokari.speak('\\0こんにちは')).wav || []).length);
  if (kana === 0) throw new Error('the page spoke no kana');
  firstKanaMs.push(Date.now() - started);
  // Kanji read in context once the analyser dictionary has arrived and the
  // voice is loaded again with it.
  const reading = await page.evaluate(async () => (await vokari.readingReady).mode);
  if (reading !== 'context') throw new Error(`the page reads ${reading}, not in context: build the native dictionary first`);
  contextMs.push(Date.now() - started);
  // A typical line, spoken ten times; the first click also opens the audio
  // device and is left out.
  await page.$eval('#script', (box) => { box.value = '\\0こんにちは、きょうもいいてんきですね。'; });
  for (let i = 0; i < 11; i++) {
    await page.click('#speak-button');
    await page.waitForFunction((n) => window.vokariPage.stats.clickToSoundMs.length === n, {}, i + 1);
  }
  const stats = await page.evaluate(() => window.vokariPage.stats);
  firstClick.push(stats.clickToStartMs[0]);
  clickToStart.push(...stats.clickToStartMs.slice(1));
  requestMs.push(stats.lastRequestMs);
  deviceMs = stats.deviceLatencyMs;
  await context.close();
}
await browser.close();
await server.close();
console.log(JSON.stringify({
  load_bytes: summary(loadBytes),
  load_to_ready_ms: summary(loadMs),
  load_to_first_kana_wav_ms: summary(firstKanaMs),
  load_to_context_reading_ms: summary(contextMs),
  click_to_sound_start_ms: summary(clickToStart),
  first_click_to_sound_start_ms: summary(firstClick),
  module_request_ms: summary(requestMs),
  audio_device_reported_latency_ms: +deviceMs.toFixed(1),
}, null, 2));
