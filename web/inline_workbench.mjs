// Makes the workbench that opens from a folder by double-click (file://),
// for the release zip: browsers fetch nothing and start no worker from a
// file URL, so the worker's text, the module's WebAssembly and the bundled
// voice travel in one script that the page loads with a <script> tag.  The
// voice's analyser dictionary stays out (vokari.data never holds it, and it
// would not fit the zip twice): this workbench reads kanji with the general
// pairs of reading.dic.
//
//   node web/inline_workbench.mjs SITE_DIR OUT_DIR
//
// OUT_DIR gets workbench.html and the page's scripts; SITE_DIR is the built
// site (build/web/site).
import { copyFileSync, mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

const [site, out] = process.argv.slice(2);
if (!site || !out) {
  console.error('usage: inline_workbench.mjs SITE_DIR OUT_DIR');
  process.exit(2);
}
const read = (name) => readFileSync(join(site, name));
mkdirSync(out, { recursive: true });
for (const name of ['app.js', 'fflate.js', 'sjis.js', 'style.css', 'vokari-api.js']) copyFileSync(join(site, name), join(out, name));

const inlined = { wasm: read('vokari.wasm').toString('base64'), data: read('vokari.data').toString('base64') };
const workerSource = `self.vokariInlined = ${JSON.stringify(inlined)};\n${read('vokari.js')}\n${read('worker.js')}`;
writeFileSync(join(out, 'workbench-inline.js'), `self.vokariWorkerSource = ${JSON.stringify(workerSource)};\n`);

const page = read('index.html').toString();
const hook = '<script src="vokari-api.js"></script>';
if (!page.includes(hook)) throw new Error(`index.html has no ${hook}`);
writeFileSync(join(out, 'workbench.html'), page.replace(hook, `<script src="workbench-inline.js"></script>\n${hook}`));
