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

  let worker = null;
  let nextId = 1;
  const pending = new Map();
  let lastLoad = null;        // [files, settings] of the voice loaded last
  const listeners = new Set();

  function notify(event) {
    for (const listener of listeners) listener(event);
  }

  // A worker that dies (a crash inside the module) is replaced at once and
  // given the last voice again; what was asked of it fails with a message.
  function startWorker() {
    worker = new Worker('worker.js');
    worker.onmessage = (event) => {
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

  function restart(message) {
    worker.terminate();
    const failed = [...pending.values()];
    pending.clear();
    for (const call of failed) call.reject(new Error(message));
    startWorker();
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
    return { log: sjis.decode(result.log) };
  }

  async function bundledVoice() {
    return call('bundledVoice', []);
  }

  async function loadBundled(settings) {
    return load(await bundledVoice(), settings);
  }

  // script: UTF-8 text (a JavaScript string), or Shift_JIS bytes as they are.
  // options: talkSpeed, messageSpeed, frequencyMain, frequencyPartner (each
  // left out keeps the voice's own), protocol ('makoto' or 'saori').
  // Returns {reply, replyBytes, wav, log, display, requestMs}: the reply with
  // its wait tags, the WAV bytes (null when the script made no sound), the
  // module's log lines, and the moments at which the host shows each
  // character ({end_ms, events: [{kind, ms, speaker, text}]}, null for replies
  // too long to pace).
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
    return { reply: result.replyUtf8, replyBytes: result.reply, wav: result.wav, log: sjis.decode(result.log),
             display: result.display, settings: result.settings, requestMs: result.requestMs };
  }

  async function utteranceSvg(wav, reply, title) {
    return call('utteranceSvg', [wav, reply, title || '']);
  }

  let infoPromise = null;
  function info() {
    if (!infoPromise) infoPromise = call('info', []);
    return infoPromise;
  }

  // Brings any recording to mono float samples at the bank's rate: the
  // browser decodes encoded files and resamples through an offline context.
  async function toBankRate(recording, rate) {
    if (recording instanceof Float32Array) return recording;
    let buffer = recording;
    if (!(typeof AudioBuffer !== 'undefined' && recording instanceof AudioBuffer)) {
      const decoder = new OfflineAudioContext(1, 1, rate);
      buffer = await decoder.decodeAudioData(toBytes(recording).slice().buffer);
    }
    const length = Math.max(1, Math.ceil(buffer.duration * rate));
    const context = new OfflineAudioContext(1, length, rate);
    const source = context.createBufferSource();
    source.buffer = buffer;  // several channels are mixed down to one
    source.connect(context.destination);
    source.start();
    const rendered = await context.startRendering();
    return rendered.getChannelData(0).slice();
  }

  // recordings: {romaji: Float32Array at the bank's rate (22050 Hz), or an
  // AudioBuffer, or the bytes of a sound file the browser can decode}.
  // speaker: 0 (main character) or 1 (partner).  Returns {files, report,
  // reportText}: the module-directory files (the speaker's two sample
  // directories, a vokari.txt and the report) and what the analysis could
  // not estimate.
  async function buildVoice(recordings, speaker = 0) {
    if (speaker !== 0 && speaker !== 1) throw new RangeError('The speaker must be 0 (main character) or 1 (partner).');
    const { bankRate } = await info();
    const samples = {};
    for (const [romaji, recording] of Object.entries(recordings)) samples[romaji] = await toBankRate(recording, bankRate);
    const { files, report } = await call('buildVoice', [samples, speaker]);
    if (!report.ok) throw new Error('The voice could not be built: ' + report.error);
    const reportText = [
      `Voice built in the browser for speaker ${speaker} (${speaker === 0 ? 'main character' : 'partner'}).`,
      `${report.slots} syllables recorded; pitch ${report.f0_hz} Hz; gain ${report.gain}.`,
      report.problems.length ? 'Could not estimate:' : 'Everything was estimated.',
      ...report.problems.map((p) => '  ' + p), ''].join('\r\n');
    files['vokari.txt'] = new TextEncoder().encode('// A voice recorded in the browser.\r\ntalk.default.speed,130\r\n');
    files['voicebank-report.txt'] = new TextEncoder().encode(reportText);
    return { files, report, reportText };
  }

  // Browsers start no worker and fetch nothing for a page opened as a file.
  if (location.protocol !== 'file:') startWorker();
  self.vokari = {
    load, loadBundled, bundledVoice, speak, buildVoice, utteranceSvg, info,
    encode: (text) => sjis.encode(text), decode: (bytes) => sjis.decode(bytes),
    limits: LIMITS, checkSettings,
    onEvent: (listener) => listeners.add(listener),
    // Stops whatever the module is working on by replacing its worker.
    restart: () => restart('The module was stopped.'),
    busy: () => pending.size > 0,
    ready: location.protocol === 'file:'
      ? Promise.reject(new Error('pages opened as files cannot start the module; serve the folder from a web server'))
      : loadBundled(),
  };
})();
