// window.vokari: the page's JavaScript interface to the module, which runs in
// a Web Worker.  The page itself uses only this; tests call it too.  See
// web/README.md for the functions and what they take and give.
'use strict';
(function () {
  // Limits of the settings the page offers (inclusive).
  const LIMITS = {
    talkSpeed: { min: 10, max: 2000, integer: true, what: 'talk speed (ms per syllable)' },
    messageSpeed: { min: 0, max: 10000, integer: true, what: 'message speed (ms per character)' },
    frequencyMain: { min: 0.1, max: 8, integer: false, what: "main character's frequency factor" },
    frequencyPartner: { min: 0.1, max: 8, integer: false, what: "partner's frequency factor" },
  };

  // Throws a RangeError naming the first setting outside its limits.
  function checkSettings(options) {
    const settings = {};
    for (const [key, limit] of Object.entries(LIMITS)) {
      if (!options || options[key] === undefined || options[key] === null || options[key] === '') continue;
      const value = Number(options[key]);
      if (!Number.isFinite(value) || value < limit.min || value > limit.max || (limit.integer && !Number.isInteger(value))) {
        throw new RangeError(`The ${limit.what} must be ${limit.integer ? 'a whole number ' : ''}from ${limit.min} to ${limit.max}, not ${options[key]}.`);
      }
      settings[key] = value;
    }
    return settings;
  }

  // The release zip's workbench carries the worker's whole text in a script
  // of its own, so that it starts from file:// too; served pages load worker.js.
  const inlinedWorker = typeof self.vokariWorkerSource === 'string' ? self.vokariWorkerSource : null;
  const canStart = location.protocol !== 'file:' || inlinedWorker !== null;
  let worker = null;
  let nextId = 1;
  const pending = new Map();
  let lastLoad = null;        // [files, settings] of the voice loaded last
  // How the loaded voice reads kanji: 'context' (in context, with the
  // analyser dictionary), 'pairs' (the general reading.dic pairs, while the
  // dictionary is on its way or where it cannot be fetched) or 'off'.
  let readingMode = null;
  let dictionaryArrived = () => {};
  // Settles once the worker has the analyser dictionary or has given up:
  // {mode, dictionary: 'ready' or 'absent', why}.
  const readingReady = new Promise((resolve) => { dictionaryArrived = resolve; });
  const listeners = new Set();

  function notify(event) {
    for (const listener of listeners) listener(event);
  }

  // A worker that dies (a crash inside the module) is replaced at once and
  // given the last voice again; what was asked of it fails with a message.
  let workerGeneration = 0;  // counts the workers started, to notice a restart
  function startWorker() {
    workerGeneration++;
    worker = inlinedWorker
      ? new Worker(URL.createObjectURL(new Blob([inlinedWorker], { type: 'text/javascript' })))
      : new Worker('worker.js');
    worker.onmessage = (event) => {
      if (event.data.event === 'reading') {
        readingMode = event.data.mode;
        if (event.data.dictionary !== 'pending') dictionaryArrived(event.data);
        notify({ type: 'reading', mode: event.data.mode, dictionary: event.data.dictionary, why: event.data.why || '',
                 log: event.data.log ? sjis.decode(event.data.log) : '' });
        return;
      }
      const { id, result, error, fatal } = event.data;
      const call = pending.get(id);
      if (!call) return;
      pending.delete(id);
      if (error !== undefined) call.reject(new Error(error));
      else call.resolve(result);
      if (fatal) restart(`The module stopped with an error (${error}); it has been restarted.`);
    };
    worker.onerror = (event) => {
      event.preventDefault();
      restart(`The module stopped with an error (${event.message || 'no message'}); it has been restarted.`);
    };
  }

  // From file:// the analyser dictionary comes in a script beside the page,
  // naist-jdic.js (web/inline_workbench.mjs), since such a page may read no
  // other file; it is loaded once and handed to every worker started.
  const inlinedDictionary = inlinedWorker === null ? null : new Promise((resolve) => {
    const script = document.createElement('script');
    script.src = 'naist-jdic.js';
    script.onload = () => {
      const files = self.vokariDictionary;
      delete self.vokariDictionary;
      resolve(files ? { files, why: '' } : { files: null, why: 'naist-jdic.js holds no dictionary' });
    };
    script.onerror = () => resolve({ files: null, why: 'naist-jdic.js is missing beside workbench.html' });
    document.head.appendChild(script);
  });
  function handDictionary() {
    if (inlinedDictionary) inlinedDictionary.then(({ files, why }) => call('dictionary', [files, why])).catch(() => {});
  }

  function restart(message) {
    worker.terminate();
    const failed = [...pending.values()];
    pending.clear();
    for (const call of failed) call.reject(new Error(message));
    startWorker();
    handDictionary();
    notify({ type: 'restarted', message });
    if (lastLoad) call('load', lastLoad, []).catch(() => {});
  }

  function call(op, args, transfer) {
    const id = nextId++;
    if (!worker) return Promise.reject(new Error('the module is not running: open the page from a web server'));
    return new Promise((resolve, reject) => {
      pending.set(id, { resolve, reject, op });
      worker.postMessage({ id, op, args }, transfer || []);
    });
  }

  function toBytes(value) {
    if (value instanceof Uint8Array) return value;
    if (value instanceof ArrayBuffer) return new Uint8Array(value);
    if (ArrayBuffer.isView(value)) return new Uint8Array(value.buffer, value.byteOffset, value.byteLength);
    if (typeof value === 'string') return new TextEncoder().encode(value);
    throw new TypeError('file contents must be bytes (Uint8Array or ArrayBuffer) or text');
  }

  // files: {path: bytes}, paths relative to the module directory with '/' or
  // '\' separators.  Returns {log}: the module's log lines of the load.
  async function load(files, settings) {
    const clean = {};
    for (const [path, bytes] of Object.entries(files)) clean[path.replace(/\\/g, '/')] = toBytes(bytes).slice();
    const checked = checkSettings(settings);
    lastLoad = [clean, checked];
    const result = await call('load', [clean, checked]);
    readingMode = result.reading;
    return { log: sjis.decode(result.log), reading: result.reading };
  }

  async function bundledVoice() {
    return call('bundledVoice', []);
  }

  // A new voice reads kanji as the bundled one does: its vokari.txt names the
  // bundled reading dictionary, which goes into the folder with its licence.
  async function newVoiceSettings(comment) {
    const bundled = await bundledVoice();
    const reading = bundled['reading.dic'] ? 'voice.translate.dic,reading.dic\r\n' : '';
    const files = { 'vokari.txt': new TextEncoder().encode(`// ${comment}\r\ntalk.default.speed,130\r\n${reading}`) };
    if (reading) files['reading.dic'] = bundled['reading.dic'];
    if (reading && bundled['READING-LICENSE']) files['READING-LICENSE.txt'] = bundled['READING-LICENSE'];
    return files;
  }

  // The second bundled voice, recorded from espeak-ng.
  async function espeakVoice() {
    return call('espeakVoice', []);
  }

  async function loadBundled(settings) {
    return load(await bundledVoice(), settings);
  }

  // script: UTF-8 text (a JavaScript string), or Shift_JIS bytes as they are.
  // options: talkSpeed, messageSpeed, frequencyMain, frequencyPartner (each
  // left out keeps the voice's own), protocol ('makoto' or 'saori').
  // Returns {reply, replyBytes, wav, log, display, pitch, requestMs}: the
  // reply with its wait tags, the WAV bytes (null when the script made no
  // sound), the module's log lines, the moments at which the host shows each
  // character ({end_ms, events: [{kind, ms, speaker, text}]}, null for replies
  // too long to pace), and the pitch accent played ({speakers: [{accent:
  // [[sample, factor]...], spans: [[start, end]...]}, ...]}, null without a
  // WAV; sample 0 is the WAV's first).
  async function speak(script, options = {}) {
    let bytes;
    if (typeof script === 'string') {
      const encoded = sjis.encode(script);
      if (!encoded.bytes) {
        throw new Error('These characters have no Shift_JIS form: ' + encoded.missing.join(', ') + '.');
      }
      bytes = encoded.bytes;
    } else {
      bytes = toBytes(script);
    }
    const settings = checkSettings(options);
    if (lastLoad) lastLoad[1] = Object.assign({}, lastLoad[1], settings);
    const result = await call('speak', [bytes, settings, options.protocol || 'makoto']);
    readingMode = result.readingMode;
    return { reply: result.replyUtf8, replyBytes: result.reply, wav: result.wav, log: sjis.decode(result.log),
             display: result.display, pitch: result.pitch, settings: result.settings, requestMs: result.requestMs,
             reading: result.reading, readingMode: result.readingMode };
  }

  async function utteranceSvg(wav, reply, title) {
    return call('utteranceSvg', [wav, reply, title || '']);
  }

  let infoPromise = null;
  function info() {
    if (!infoPromise) infoPromise = call('info', []);
    return infoPromise;
  }

  // Brings a decoded recording to mono float samples at the bank's rate,
  // resampled through an offline context.
  async function toBankRate(buffer, rate) {
    const length = Math.max(1, Math.ceil(buffer.duration * rate));
    const context = new OfflineAudioContext(1, length, rate);
    const source = context.createBufferSource();
    source.buffer = buffer;  // several channels are mixed down to one
    source.connect(context.destination);
    source.start();
    const rendered = await context.startRendering();
    return rendered.getChannelData(0).slice();
  }

  // What the builder makes of a file name: {slot, sound, problem}, the slot
  // it records (-1 for none), whether it is a sound file's name and, for any
  // name but a syllable's, the builder's words for it.
  function recordingName(name) {
    return call('recordingName', [name]);
  }

  // A recording as the builder takes it (see decodeBankRecording): from the
  // bytes of a sound file, an AudioBuffer (the microphone's) or samples
  // already at the bank's rate.
  async function bankRecording(recording, bankRate) {
    if (recording instanceof Float32Array) {
      return { interleaved: recording, frames: recording.length, channels: 1, rate: bankRate, mono: recording, error: '' };
    }
    if (typeof AudioBuffer !== 'undefined' && recording instanceof AudioBuffer) return fromAudioBuffer(recording, bankRate);
    return decodeBankRecording(toBytes(recording), bankRate);
  }

  // recordings: {name: recording}, a file name (ka.wav, shi.flac, ...) or a
  // syllable's romaji alone (a, ka, shi, kya, n, ...; named romaji.wav in the
  // report) for each recording: a Float32Array at the bank's rate (22050 Hz),
  // an AudioBuffer, or the bytes of a sound file the browser can decode.
  // speaker: 0 (main character) or 1 (partner).  Built as vokari-voicebank
  // builds from a folder of such files, with its checks and its report.
  // Returns {files, report, reportText}: the module-directory files (the
  // speaker's two sample directories, a vokari.txt and the report), the
  // builder's {status, slots, f0_hz, gain, stdout, stderr} and the report's
  // text; throws with the builder's report when nothing could be built.
  async function buildVoice(recordings, speaker = 0) {
    if (speaker !== 0 && speaker !== 1) throw new RangeError('The speaker must be 0 (main character) or 1 (partner).');
    const { bankRate } = await info();
    const files = [];
    for (const [key, recording] of Object.entries(recordings)) {
      const name = /\.[^./]+$/.test(key) ? key : `${key}.wav`;
      const { slot } = await recordingName(name);
      files.push([name, slot >= 0 ? await bankRecording(recording, bankRate) : null]);
    }
    const result = await call('buildVoice', ['the opened recordings', files, speaker]);
    if (result.status !== 0 && result.status !== 3) throw new Error('The voice could not be built:\n' + result.stderr.trim());
    const numbers = /speaker \d: (\d+) slots, f0 ([\d.]+) Hz, gain ([\d.]+)/.exec(result.stdout) || [];
    const report = { status: result.status, slots: Number(numbers[1] || 0), f0_hz: Number(numbers[2] || 0),
                     gain: Number(numbers[3] || 0), stdout: result.stdout, stderr: result.stderr };
    const reportText = [
      `Voice built in the browser for speaker ${speaker} (${speaker === 0 ? 'main character' : 'partner'}).`,
      ...(result.stdout + result.stderr).split(/\r?\n/)].join('\r\n');
    const made = result.files;
    Object.assign(made, await newVoiceSettings('A voice recorded in the browser.'));
    made['voicebank-report.txt'] = new TextEncoder().encode(reportText);
    return { files: made, report, reportText };
  }

  // ---- CV banks: a folder of WAV recordings with oto.ini files ------------
  const folderOf = (path) => (path.includes('/') ? path.slice(0, path.lastIndexOf('/')) : '');
  const isOtoIni = (path) => /(^|\/)oto\.ini$/i.test(path);

  // The CV bank among opened files (paths with '/'): its top folder, the
  // deepest one that holds every oto.ini, and the folders below it with an
  // oto.ini ('' for the top itself), which are the sub-banks to choose from.
  // Null when no file is an oto.ini.
  function findCvBank(paths) {
    const folders = paths.map((p) => p.replace(/\\/g, '/')).filter(isOtoIni).map(folderOf);
    if (folders.length === 0) return null;
    let common = folders[0] ? folders[0].split('/') : [];
    for (const folder of folders) {
      const parts = folder ? folder.split('/') : [];
      let i = 0;
      while (i < common.length && i < parts.length && common[i] === parts[i]) i++;
      common = common.slice(0, i);
    }
    const root = common.join('/');
    const inside = (folder) => (root === '' ? folder : folder === root ? '' : folder.slice(root.length + 1));
    return { root, subbanks: [...new Set(folders.map(inside))].sort() };
  }

  // The sample rate in a RIFF WAVE header, or 0 when there is none.
  function wavRate(bytes) {
    const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
    const tag = (at) => String.fromCharCode(bytes[at], bytes[at + 1], bytes[at + 2], bytes[at + 3]);
    if (bytes.length < 12 || tag(0) !== 'RIFF' || tag(8) !== 'WAVE') return 0;
    for (let at = 12; at + 8 <= bytes.length; at += 8 + view.getUint32(at + 4, true) + (view.getUint32(at + 4, true) & 1)) {
      if (tag(at) === 'fmt ' && at + 16 <= bytes.length) return view.getUint32(at + 12, true);
    }
    return 0;
  }

  // A recording of a bank as the importer takes it: the frames as recorded
  // (decoded at the file's own rate, so nothing is resampled yet), and their
  // mean over the channels at the bank's rate.
  async function decodeBankRecording(bytes, bankRate) {
    try {
      const ownRate = wavRate(bytes);
      const rate = ownRate >= 3000 && ownRate <= 768000 ? ownRate : 44100;
      return await fromAudioBuffer(await new OfflineAudioContext(1, 1, rate).decodeAudioData(bytes.slice().buffer), bankRate);
    } catch (error) {
      return { error: `the browser cannot decode it (${(error && error.message) || error})` };
    }
  }

  // The same from a decoded AudioBuffer.
  async function fromAudioBuffer(buffer, bankRate) {
    const channels = buffer.numberOfChannels;
    const frames = buffer.length;
    const interleaved = new Float32Array(frames * channels);
    const mean = new Float32Array(frames);
    for (let c = 0; c < channels; c++) {
      const data = buffer.getChannelData(c);
      for (let i = 0; i < frames; i++) {
        interleaved[i * channels + c] = data[i];
        mean[i] += data[i];
      }
    }
    for (let i = 0; i < frames; i++) mean[i] /= channels;
    let mono = mean;
    if (buffer.sampleRate !== bankRate) {
      const single = new AudioBuffer({ numberOfChannels: 1, length: Math.max(1, frames), sampleRate: buffer.sampleRate });
      single.copyToChannel(mean, 0);
      mono = await toBankRate(single, bankRate);
    }
    return { interleaved, frames, channels, rate: buffer.sampleRate, mono, error: '' };
  }

  // files: {path: bytes} of an opened folder or zip holding a CV bank (paths
  // with '/' or '\\'); options: subbank (a folder of the bank with an oto.ini;
  // empty for all of them), speaker (0 or 1), into (the files of a module
  // directory to import into; without it, a new one with a vokari.txt),
  // name (how the report names the bank), onProgress(done, total).
  // Returns {ok, status, report, stdout, stderr, files, bank}: the importer's
  // exit status (0 built, 1 failed and nothing made, 3 built with warnings),
  // its report (per-slot lines, then oto.ini problems with their line
  // numbers, ignored entries, empty slots), the module-directory files (null
  // when nothing was made) and the bank found ({root, subbanks}).
  // Imports run one after the other: the worker holds one bank at a time.
  let cvQueue = Promise.resolve();
  function importCvBank(files, options = {}) {
    const run = cvQueue.then(() => importCvBankNow(files, options));
    cvQueue = run.catch(() => {});
    return run;
  }

  async function importCvBankNow(files, options) {
    const speaker = options.speaker === undefined ? 0 : Number(options.speaker);
    if (speaker !== 0 && speaker !== 1) throw new RangeError('The speaker must be 0 (main character) or 1 (partner).');
    const all = {};
    for (const [path, bytes] of Object.entries(files)) all[path.replace(/\\/g, '/')] = toBytes(bytes);
    const bank = findCvBank(Object.keys(all));
    if (!bank) throw new Error(`${options.name || 'These files'} hold no oto.ini: not a CV voice bank.`);
    const subbank = (options.subbank || '').replace(/\\/g, '/').replace(/^\/+|\/+$/g, '');
    const decoded = new Set(subbank ? [subbank] : bank.subbanks);
    const { bankRate } = await info();
    const bankFiles = {};
    const wavs = [];
    for (const [path, bytes] of Object.entries(all)) {
      if (bank.root !== '' && !path.startsWith(bank.root + '/')) continue;
      const inside = bank.root === '' ? path : path.slice(bank.root.length + 1);
      if (isOtoIni(inside)) bankFiles[inside] = bytes.slice();
      else if (/\.wav$/i.test(inside) && decoded.has(folderOf(inside))) wavs.push([inside, bytes]);
      else bankFiles[inside] = new Uint8Array(0);
    }
    const name = options.name || bank.root.split('/').pop() || 'bank';
    const generation = workerGeneration;
    await call('cvBegin', [name, bankFiles]);
    for (const [i, [path, bytes]] of wavs.entries()) {
      if (options.onProgress) options.onProgress(i, wavs.length);
      const recording = await decodeBankRecording(bytes, bankRate);
      await call('cvAddRecording', [path, recording], recording.error ? [] : [recording.interleaved.buffer, recording.mono.buffer]);
    }
    if (options.onProgress) options.onProgress(wavs.length, wavs.length);
    // A worker started meanwhile holds no bank.
    if (generation !== workerGeneration) throw new Error('The module was restarted during the import; open the bank again.');
    const result = await call('cvImport', [subbank, speaker]);
    const report = result.stdout + result.stderr;
    const ok = result.status === 0 || result.status === 3;
    let made = null;
    if (ok) {
      made = {};
      const replaced = new RegExp(`^vokari[vc]${speaker}/`, 'i');
      if (options.into) {
        for (const [path, bytes] of Object.entries(options.into)) {
          const clean = path.replace(/\\/g, '/');
          if (!replaced.test(clean)) made[clean] = toBytes(bytes).slice();
        }
      } else {
        Object.assign(made, await newVoiceSettings('A voice imported in the browser from a CV bank.'));
      }
      Object.assign(made, result.files);
      made['voicebank-report.txt'] = new TextEncoder().encode(report.replace(/\r?\n/g, '\r\n'));
    }
    return { ok, status: result.status, report, stdout: result.stdout, stderr: result.stderr, files: made, bank };
  }

  // Browsers start no worker and fetch nothing for a page opened as a file.
  if (canStart) {
    startWorker();
    handDictionary();
  }
  self.vokari = {
    load, loadBundled, bundledVoice, espeakVoice, speak, recordingName, buildVoice, importCvBank, findCvBank, utteranceSvg, info,
    encode: (text) => sjis.encode(text), decode: (bytes) => sjis.decode(bytes),
    limits: LIMITS, checkSettings,
    onEvent: (listener) => listeners.add(listener),
    readingMode: () => readingMode,
    readingReady: canStart ? readingReady : Promise.resolve({ mode: null, dictionary: 'absent' }),
    // Stops whatever the module is working on by replacing its worker.
    restart: () => restart('The module was stopped.'),
    busy: () => pending.size > 0,
    canStart,
    ready: !canStart
      ? Promise.reject(new Error('pages opened as files cannot start the module; serve the folder from a web server'))
      : loadBundled(),
  };
})();
