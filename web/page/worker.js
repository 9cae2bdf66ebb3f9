// The module's own thread in the page: it holds the WebAssembly module, its
// file system with the loaded voice, and answers the page's messages one at a
// time, so that a long script never blocks the page.
//
// Message in:  {id, op, args}        Message out: {id, result} or {id, error}
'use strict';
// Opened from the unpacked release zip (file://), the page can fetch nothing:
// it starts this worker from its own text, with vokari.js before it and the
// WebAssembly and the bundled voice inlined as base64 (web/inline_workbench.mjs),
// and hands it the analyser dictionary that its script naist-jdic.js carries.
if (typeof createVokariModule === 'undefined') importScripts('vokari.js');
const inlined = self.vokariInlined;
const fromBase64 = (text) => Uint8Array.from(atob(text), (c) => c.charCodeAt(0));
const modulePromise = createVokariModule(inlined ? {
  wasmBinary: fromBase64(inlined.wasm),
  getPreloadedPackage: () => fromBase64(inlined.data).buffer,
} : {});
let M = null;

// The loaded voice: its files, the settings it was loaded with, and where it
// lives in the worker's file system.
let voice = null;
let sessionCount = 0;
const LOG_NAME = 'vokari-page.log';

// The bundled voice reads in context with its analyser dictionary, which is
// too big to hold up the first words: the voice is preloaded without it, the
// dictionary is fetched from the site beside the page (or handed over by the
// page from file://) into DICTIONARY_DIR, and a voice that names the missing
// folder reads with the general pairs of its reading.dic until then (or for
// good, where it cannot be had: dictionaryWhy says why).
const DICTIONARY_FOLDER = 'naist-jdic';
const DICTIONARY_DIR = '/dictionary/' + DICTIONARY_FOLDER;
let dictionaryState = 'pending';  // pending, ready, absent
let dictionaryWhy = '';
const MAX_READING_LINE_BYTES = 8192;  // longer scripts get no reading line

// Settings the page lets authors change: each one given overrides the
// voice's own line (or the module's default); one left out keeps it.
const SETTING_KEYS = ['talkSpeed', 'messageSpeed', 'frequencyMain', 'frequencyPartner'];
const HOST_MESSAGE_SPEED = 50;  // what a host without a profile file shows at
const MAX_PACED_CHARACTERS = 20000;  // longer replies are shown whole, not paced
const WAV_HEADER_BYTES = 58;

function pickSettings(settings) {
  const picked = {};
  for (const key of SETTING_KEYS) if (settings && settings[key] !== undefined) picked[key] = settings[key];
  return picked;
}

function sameSettings(a, b) {
  return SETTING_KEYS.every((key) => a[key] === b[key]);
}

function mkdirs(path) {
  let at = '';
  for (const part of path.split('/').filter(Boolean)) {
    at += '/' + part;
    if (!M.FS.analyzePath(at).exists) M.FS.mkdir(at);
  }
}

// Every file under `dir`, as a map from paths relative to it to bytes.
function readTree(dir, prefix = '', out = {}) {
  for (const name of M.FS.readdir(dir)) {
    if (name === '.' || name === '..') continue;
    const path = dir + '/' + name;
    if (M.FS.isDir(M.FS.stat(path).mode)) readTree(path, prefix + name + '/', out);
    else out[prefix + name] = M.FS.readFile(path);
  }
  return out;
}

function removeTree(dir) {
  if (!M.FS.analyzePath(dir).exists) return;
  for (const name of M.FS.readdir(dir)) {
    if (name === '.' || name === '..') continue;
    const path = dir + '/' + name;
    if (M.FS.isDir(M.FS.lstat(path).mode)) removeTree(path);
    else M.FS.unlink(path);  // files and the aliases of addLowerCaseNames
  }
  M.FS.rmdir(dir);
}

// Voices are made on Windows, whose file names ignore case: a folder may
// hold "VOKARIV0\0.WAV" where the module asks for "vokariv0\0.wav".  Every
// name under `dir` gets a lower-case alias beside it unless that name exists.
function addLowerCaseNames(dir) {
  for (const name of M.FS.readdir(dir)) {
    if (name === '.' || name === '..') continue;
    const path = dir + '/' + name;
    if (M.FS.isDir(M.FS.lstat(path).mode)) addLowerCaseNames(path);
    const lower = name.toLowerCase();
    if (lower !== name && !M.FS.analyzePath(dir + '/' + lower).exists) M.FS.symlink(name, dir + '/' + lower);
  }
}

// Bytes as a string of one character each, and back: settings files are
// edited line by line without decoding their Shift_JIS.
const byteString = (bytes) => Array.from(bytes, (b) => String.fromCharCode(b)).join('');

// Shift_JIS bytes of ASCII text.
function ascii(text) {
  return Uint8Array.from(text, (c) => c.charCodeAt(0));
}

function concat(parts) {
  const out = new Uint8Array(parts.reduce((n, p) => n + p.length, 0));
  let at = 0;
  for (const p of parts) { out.set(p, at); at += p.length; }
  return out;
}

function callWithBytes(bytes, fn) {
  const pointer = M._malloc(Math.max(1, bytes.length));
  try {
    M.HEAPU8.set(bytes, pointer);
    return fn(pointer, bytes.length);
  } finally {
    M._free(pointer);
  }
}

function callWithString(text, fn) {
  const size = M.lengthBytesUTF8(text) + 1;
  const pointer = M._malloc(size);
  try {
    M.stringToUTF8(text, pointer, size);
    return fn(pointer);
  } finally {
    M._free(pointer);
  }
}

// The module's log lines written since the last call; the file is emptied
// after reading, so that a long session of large scripts does not pile up in
// memory (the module opens the log afresh for every write).
function takeLog() {
  const path = voice.root + '/' + LOG_NAME;
  if (!M.FS.analyzePath(path).exists) return new Uint8Array(0);
  const bytes = M.FS.readFile(path);
  M.FS.truncate(path, 0);
  return bytes;
}

// Loads `files` (module-directory paths -> bytes) with `settings`: the voice's
// own vokari.txt with the page's settings appended (the last line of a key
// wins) and the host's message speed in the host's profile file.  The module
// directory lies where a host keeps a character's module, so that the module
// finds that profile file as it would in a real host.
function loadVoice(files, settings) {
  if (voice) {
    M._web_unload();
    removeTree(voice.base);
  }
  settings = pickSettings(settings);
  const base = '/session' + ++sessionCount;
  const root = base + '/ghost/voice/ghost/master';
  mkdirs(root);
  for (const [path, bytes] of Object.entries(files)) {
    const clean = path.replace(/\\/g, '/').split('/').filter((p) => p && p !== '.' && p !== '..');
    if (clean.length === 0) continue;
    mkdirs(root + '/' + clean.slice(0, -1).join('/'));
    M.FS.writeFile(root + '/' + clean.join('/'), bytes);
  }
  addLowerCaseNames(root);
  let own = M.FS.analyzePath(root + '/vokari.txt').exists ? M.FS.readFile(root + '/vokari.txt') : new Uint8Array(0);
  const reading = readingOf(own, root);
  if (reading.mode === 'pairs') own = withPairsForContext(own, M.FS.analyzePath(root + '/reading.dic').exists);
  else if (reading.mode === 'context' && reading.shared) M.FS.symlink(DICTIONARY_DIR, root + '/' + DICTIONARY_FOLDER);
  const ownEndsInLine = own.length === 0 || own[own.length - 1] === 0x0a;
  let lines = `log,${LOG_NAME}\r\n`;
  if (settings.talkSpeed !== undefined) lines += `talk.default.speed,${settings.talkSpeed}\r\n`;
  if (settings.frequencyMain !== undefined) lines += `adjust.frequency.sakura,${settings.frequencyMain}\r\n`;
  if (settings.frequencyPartner !== undefined) lines += `adjust.frequency.kero,${settings.frequencyPartner}\r\n`;
  M.FS.writeFile(root + '/vokari.txt', concat([own, ascii((ownEndsInLine ? '' : '\r\n') + lines)]));
  // The host's two profile files, as a host has them; the message speed is
  // written only when the page sets it, else the module keeps its default.
  mkdirs(base + '/data/profile');
  mkdirs(base + '/profile');
  M.FS.writeFile(base + '/data/profile/app.dat', ascii('// host profile of the workbench\r\n'));
  M.FS.writeFile(base + '/profile/mainform.txt', ascii(settings.messageSpeed !== undefined
    ? `messagespeed,${settings.messageSpeed}\r\n` : '// host profile of the workbench\r\n'));

  voice = { files, settings, base, root, reading: reading.mode };
  // The module directory with the host's separators: the module finds the
  // host's base directory by cutting at "\ghost\master".
  const directory = ascii(root.replace(/\//g, '\\'));
  callWithBytes(directory, (pointer, length) => M._web_load(pointer, length));
  const log = takeLog();
  // A dictionary the module refused (damaged, truncated) leaves the step off:
  // the module then speaks a "GET Reading" instead of answering it.
  if (reading.mode === 'context' && /WARNING : voice\.reading\.dic /.test(byteString(log))) voice.reading = 'off';
  return { log, settings, reading: voice.reading };
}

// How a voice with `own` as its vokari.txt reads: 'context' (its analyser
// dictionary is there, its own or the fetched one: shared), 'pairs' (it
// names the bundled dictionary's folder, which has not arrived or cannot be
// fetched) or 'off' (it names none, or a folder of its own).
function readingOf(own, root) {
  let folder = null;
  for (const line of byteString(own).split(/\r?\n/)) {
    const match = /^voice\.reading\.dic,(.*)$/.exec(line);
    if (match) folder = match[1].trim();
  }
  if (folder === null || folder === '') return { mode: 'off' };
  if (M.FS.analyzePath(root + '/' + folder).exists) return { mode: 'context', shared: false };
  if (folder.toLowerCase() !== DICTIONARY_FOLDER) return { mode: 'off' };
  return dictionaryState === 'ready' ? { mode: 'context', shared: true } : { mode: 'pairs' };
}

// vokari.txt without its voice.reading.dic lines (the folder is not there
// yet, and the module would only warn), with the general reading.dic pairs
// in their place when the voice carries them.
function withPairsForContext(own, hasPairs) {
  const lines = byteString(own).split(/(?<=\n)/);
  let text = lines.filter((line) => !/^voice\.reading\.dic,/.test(line)).join('');
  if (hasPairs) text += (text === '' || text.endsWith('\n') ? '' : '\r\n') + 'voice.translate.dic,reading.dic\r\n';
  return ascii(text);
}

// Puts the analyser dictionary's files, listed in its "checksums" file and
// each given by `get(name)`, into DICTIONARY_DIR; a voice waiting for it is
// loaded again, reading in context.  Tells the page {event: 'reading', mode,
// dictionary, why, log}.
async function installDictionary(get) {
  // After the module and its preloaded voice: the first words come first.
  if (!M) M = await modulePromise;
  try {
    const checksums = await get('checksums');
    const names = new TextDecoder().decode(checksums).split(/\r?\n/).map((line) => line.trim().split(/\s+/)[0])
      .filter((name) => /^[\w.-]+$/.test(name));
    const files = await Promise.all(names.map(get));
    mkdirs(DICTIONARY_DIR);
    M.FS.writeFile(DICTIONARY_DIR + '/checksums', checksums);
    names.forEach((name, i) => M.FS.writeFile(DICTIONARY_DIR + '/' + name, files[i]));
    dictionaryState = 'ready';
  } catch (error) {
    dictionaryState = 'absent';
    dictionaryWhy = String(error && error.message || error);
  }
  let log = null;
  if (voice && voice.reading === 'pairs' && dictionaryState === 'ready') log = loadVoice(voice.files, voice.settings).log;
  self.postMessage({ event: 'reading', mode: voice ? voice.reading : null, dictionary: dictionaryState, why: dictionaryWhy, log });
}

function fetchDictionary() {
  const base = DICTIONARY_FOLDER + '/';
  return installDictionary(async (name) => {
    const response = await fetch(base + name);
    if (!response.ok) throw new Error(`${base}${name}: ${response.status}`);
    return new Uint8Array(await response.arrayBuffer());
  });
}

// The dictionary as naist-jdic.js carries it ({name: gzip in base64}), or
// null and why the page has none.
function unpackDictionary(files, why) {
  return installDictionary(async (name) => {
    if (!files) throw new Error(why || 'naist-jdic.js holds no dictionary');
    if (typeof DecompressionStream === 'undefined') throw new Error('this browser cannot unpack naist-jdic.js (no DecompressionStream)');
    if (typeof files[name] !== 'string') throw new Error(`naist-jdic.js lacks ${name}`);
    const packed = new Blob([fromBase64(files[name])]).stream().pipeThrough(new DecompressionStream('gzip'));
    return new Uint8Array(await new Response(packed).arrayBuffer());
  });
}
if (!inlined) fetchDictionary();

// Hands `request` (bytes) to the module; returns its response bytes.
function requestBytes(request) {
  return callWithBytes(request, (pointer, length) => {
    const lengthPointer = M._malloc(4);
    try {
      const block = M._web_request(pointer, length, lengthPointer);
      const size = M.HEAP32[lengthPointer >> 2];
      if (!block) return new Uint8Array(0);
      const bytes = M.HEAPU8.slice(block, block + size);
      M._web_free(block);
      return bytes;
    } finally {
      M._free(lengthPointer);
    }
  });
}

// The kana the module voices for `script`, one space-separated hiragana
// token per mora (its "GET Reading"); the request's log lines are dropped.
function readingLine(script) {
  const prefix = 'SAORI/1.0 200 OK\r\nResult: ';
  const response = requestBytes(concat([
    ascii('GET Reading SAORI/1.0\r\nCharset: Shift_JIS\r\nSender: vokari-web\r\nArgument0: '), script, ascii('\r\n\r\n')]));
  takeLog();
  const text = new TextDecoder('shift_jis').decode(response);
  if (!text.startsWith(prefix)) return null;
  return text.slice(prefix.length, text.indexOf('\r\n', prefix.length));
}

// Speaks `script` (Shift_JIS bytes) with the loaded voice.  Returns the reply
// script (Shift_JIS bytes, with its wait tags), the WAV image (null when the
// script made no sound), the pitch accent played in it, the module's log
// lines of this request, and the moments at which the host shows each
// character.
function speak(script, settings, protocol) {
  if (!voice) throw new Error('no voice is loaded');
  let reloadLog = null;
  const wanted = Object.assign({}, voice.settings, pickSettings(settings));
  if (!sameSettings(wanted, voice.settings)) reloadLog = loadVoice(voice.files, wanted).log;
  const reading = voice.reading === 'context' && script.length <= MAX_READING_LINE_BYTES ? readingLine(script) : null;
  const saori = protocol === 'saori';
  const request = concat([
    ascii(saori ? 'EXECUTE SAORI/1.0\r\nCharset: Shift_JIS\r\nSender: vokari-web\r\nArgument0: '
                : 'EXECUTE MAKOTO/2.0\r\nCharset: Shift_JIS\r\nSender: vokari-web\r\nString: '),
    script, ascii('\r\n\r\n')]);
  const started = performance.now();
  const response = requestBytes(request);
  const requestMs = performance.now() - started;
  const wavSize = M._web_wav_size();
  const wav = wavSize > 0 ? M.HEAPU8.slice(M._web_wav_data(), M._web_wav_data() + wavSize) : null;
  // The pitch accent the module played, within the rendered samples.
  const pitch = wav ? JSON.parse(M.UTF8ToString(M._web_pitch_line(wavSize - WAV_HEADER_BYTES))) : null;
  const prefix = saori ? 'SAORI/1.0 200 OK\r\nResult: ' : 'MAKOTO/2.0 200 OK\r\nString: ';
  const suffix = '\r\nCharset: Shift_JIS\r\n\r\n';
  let reply = response;
  if (response.length >= prefix.length + suffix.length) reply = response.slice(prefix.length, response.length - suffix.length);
  const log = takeLog();
  // The host's display comes with the answer, so that the page can start the
  // sound without asking again; replies too long to pace get none.
  const replyUtf8 = new TextDecoder('shift_jis').decode(reply);
  const display = replyUtf8.length <= MAX_PACED_CHARACTERS ? displayTimeline(replyUtf8) : null;
  return { reply, replyUtf8, wav, display, pitch, log: reloadLog ? concat([reloadLog, log]) : log,
           settings: voice.settings, requestMs, reading, readingMode: voice.reading };
}

// The host's display of a reply (UTF-8), for the current message speed.
function characterDelayMs() {
  const speed = voice && voice.settings.messageSpeed !== undefined ? voice.settings.messageSpeed : HOST_MESSAGE_SPEED;
  return M._web_character_delay_ms(speed);
}

function displayTimeline(replyUtf8) {
  const delay = characterDelayMs();
  return JSON.parse(callWithString(replyUtf8, (pointer) => M.UTF8ToString(M._web_display_timeline(pointer, delay))));
}

// An SVG picture of an utterance: waveform and the moment each character shows.
function utteranceSvg(wav, replyUtf8, title) {
  const delay = characterDelayMs();
  M.FS.writeFile('/utterance.wav', wav);
  const svg = callWithString(replyUtf8, (reply) => callWithString(title, (t) =>
    callWithString('/utterance.wav', (path) => M.UTF8ToString(M._web_utterance_svg(path, reply, delay, t)))));
  M.FS.unlink('/utterance.wav');
  return svg;
}

// The last run of the builder: its exit status, output, report and the
// module-directory files it made (path -> bytes).
function builderResult(status) {
  const made = {};
  for (let i = 0; i < M._web_build_file_count(); i++) {
    const data = M._web_build_file_data(i);
    made[M.UTF8ToString(M._web_build_file_path(i))] = M.HEAPU8.slice(data, data + M._web_build_file_size(i));
  }
  return { status, stdout: M.UTF8ToString(M._web_build_stdout()), stderr: M.UTF8ToString(M._web_build_stderr()), files: made };
}

// Hands a recording as decoded by the page to `add` (web_bank_add_recording
// or web_cv_add_recording): {interleaved, frames, channels, rate, mono} (the
// frames as recorded, the channels' mean at the bank's rate) or {error}.
function addDecoded(add, name, r) {
  const floatBytes = (values) => new Uint8Array(values.buffer, values.byteOffset, values.byteLength);
  const interleaved = r.error ? new Float32Array(0) : r.interleaved;
  const mono = r.error ? new Float32Array(0) : r.mono;
  callWithString(name, (p) => callWithString(r.error || '', (e) =>
    callWithBytes(floatBytes(interleaved), (framesPointer) => callWithBytes(floatBytes(mono), (monoPointer) =>
      add(p, framesPointer, r.error ? 0 : r.frames, r.error ? 0 : r.channels, r.error ? 0 : r.rate,
          monoPointer, mono.length, e)))));
}

// What a file name says to the builder: {slot, problem}.
function recordingName(name) {
  return JSON.parse(callWithString(name, (pointer) => M.UTF8ToString(M._web_recording_name(pointer))));
}

// Builds speaker `speaker`'s bank, as vokari-voicebank does from a folder,
// from `files`: [[file name, decoded recording or null], ...] (null for the
// files named after no syllable, which the report names).  `name` is how
// messages call them all.  Returns the builder's status, output, report
// and files.
function buildVoice(name, files, speaker) {
  callWithString(name, (pointer) => M._web_bank_begin(pointer));
  for (const [file, recording] of files) {
    if (recording) addDecoded(M._web_bank_add_recording, file, recording);
    else callWithString(file, (pointer) => M._web_bank_add_file(pointer));
  }
  const result = builderResult(M._web_bank_build(speaker));
  callWithString('', (pointer) => M._web_bank_begin(pointer));  // lets go of the recordings
  return result;
}

// A CV voice bank is handed over in steps, so that the page holds one decoded
// recording at a time: cvBegin with the bank's files by path relative to its
// top folder (oto.ini texts with their bytes, every other file as an empty
// name), cvAddRecording per WAV file as the page decodes it, then cvImport.
function cvBegin(name, files) {
  callWithString(name, (pointer) => M._web_cv_begin(pointer));
  for (const [path, bytes] of Object.entries(files)) {
    callWithString(path, (p) => callWithBytes(bytes, (b, length) => M._web_cv_add_file(p, b, length)));
  }
}

// A recording of the bank as the page decoded it (see addDecoded).
function cvAddRecording(path, recording) {
  addDecoded(M._web_cv_add_recording, path, recording);
}

// Runs the same importer as vokari-voicebank --oto on the bank handed over.
// Returns the exit status, the importer's output and report, and the
// module-directory files it made (path -> bytes).
function cvImport(subbank, speaker) {
  const result = builderResult(callWithString(subbank || '', (pointer) => M._web_cv_import(pointer, speaker)));
  callWithString('', (pointer) => M._web_cv_begin(pointer));  // lets go of the bank's recordings
  return result;
}

const operations = {
  info: () => ({ bankRate: M._web_bank_rate(), syllables: JSON.parse(M.UTF8ToString(M._web_syllables())) }),
  bundledVoice: () => readTree('/bundled'),
  espeakVoice: () => readTree('/espeak'),
  load: (files, settings) => loadVoice(files, settings),
  speak: (script, settings, protocol) => speak(script, settings, protocol),
  displayTimeline: (replyUtf8) => displayTimeline(replyUtf8),
  utteranceSvg: (wav, replyUtf8, title) => utteranceSvg(wav, replyUtf8, title),
  recordingName: (name) => recordingName(name),
  buildVoice: (name, files, speaker) => buildVoice(name, files, speaker),
  cvBegin: (name, files) => cvBegin(name, files),
  cvAddRecording: (path, recording) => cvAddRecording(path, recording),
  cvImport: (subbank, speaker) => cvImport(subbank, speaker),
  dictionary: (files, why) => {
    // Answered at once; the reading event follows when it is in.
    if (dictionaryState === 'pending') unpackDictionary(files, why).catch(() => {});
    return dictionaryState;
  },
};

self.onmessage = async (event) => {
  const { id, op, args } = event.data;
  try {
    if (!M) M = await modulePromise;
    const result = operations[op](...(args || []));
    self.postMessage({ id, result });
  } catch (error) {
    // A trap or an abort inside the module leaves it unusable: the page is
    // told so and starts a fresh worker.
    const fatal = error instanceof WebAssembly.RuntimeError || /^Aborted/.test(String(error && error.message));
    self.postMessage({ id, error: String(error && error.message || error), fatal });
  }
};
