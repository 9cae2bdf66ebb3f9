// Makes the workbench that opens from a folder by double-click (file://),
// for the release zip: browsers fetch nothing and start no worker from a
// file URL, so the worker's text, the module's WebAssembly and the bundled
// voice travel in one script that the page loads with a <script> tag.  The
// voice's analyser dictionary, which the site serves as plain files, travels
// the same way in a script of its own, naist-jdic.js: each file gzipped and
// in base64 (a page opened from a file can read no file beside it, only run
// scripts), so that this workbench reads in context as the DLL does.
//
//   node web/inline_workbench.mjs SITE_DIR OUT_DIR
//
// OUT_DIR gets workbench.html and the page's scripts; SITE_DIR is the built
// site (build/web/site).  Without the site's naist-jdic/ there is no
// naist-jdic.js, and the page says that it reads with the general pairs.
import { copyFileSync, existsSync, mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';

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

// The dictionary's files as its checksums list names them, the list too.
const dictionary = join(site, 'naist-jdic');
if (existsSync(join(dictionary, 'checksums'))) {
  const checksums = readFileSync(join(dictionary, 'checksums'));
  const names = checksums.toString('latin1').split(/\r?\n/).map((line) => line.trim().split(/\s+/)[0])
    .filter((name) => /^[\w.-]+$/.test(name));
  const files = {};
  for (const name of ['checksums', ...names]) files[name] = gzipSync(readFileSync(join(dictionary, name)), { level: 9 }).toString('base64');
  writeFileSync(join(out, 'naist-jdic.js'), `self.vokariDictionary = ${JSON.stringify(files)};\n`);
}

const page = read('index.html').toString();
const hook = '<script src="vokari-api.js"></script>';
if (!page.includes(hook)) throw new Error(`index.html has no ${hook}`);
writeFileSync(join(out, 'workbench.html'), page.replace(hook, `<script src="workbench-inline.js"></script>\n${hook}`));
