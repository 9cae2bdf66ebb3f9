// The page: three screens over window.vokari.  Speak plays a script with the
// loaded voice and shows the reply at the host's pace beside the waveform;
// Voice opens a module directory or a zip of one; Record guides an author
// through the 107 syllables and builds a voice from them.
'use strict';
(function () {
  const $ = (id) => document.getElementById(id);
  const page = { wav: null, reply: '', stats: { clickToSoundMs: [] }, built: null };
  window.vokariPage = page;

  // ---- shared -------------------------------------------------------------
  // Each screen keeps its own status line: what the Voice screen said stays
  // there while the Speak screen speaks.  Without a screen, it is every
  // screen's (the module starting or restarting).
  const statuses = { speak: '', voice: '', record: '' };
  let shownScreen = 'speak';
  function setStatus(text, screen) {
    if (screen) statuses[screen] = text;
    else for (const name of Object.keys(statuses)) statuses[name] = text;
    if (!screen || screen === shownScreen) $('status').textContent = text;
  }

  function showError(element, text) {
    element.textContent = text || '';
    element.hidden = !text;
  }

  function download(bytes, name, type) {
    const url = URL.createObjectURL(new Blob([bytes], { type }));
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 1000);
  }

  function appendLog(id, text) {
    if (!text) return;
    const element = $(id);
    // The log of a huge script is huge: keep the end of it.
    element.textContent = (element.textContent + text).slice(-20000);
    element.scrollTop = element.scrollHeight;
  }

  for (const tab of document.querySelectorAll('.tab')) {
    tab.addEventListener('click', () => {
      for (const t of document.querySelectorAll('.tab')) t.classList.toggle('active', t === tab);
      for (const s of document.querySelectorAll('.screen')) s.classList.toggle('active', s.id === tab.dataset.screen);
      shownScreen = tab.dataset.screen;
      $('status').textContent = statuses[shownScreen];
    });
  }

  // How kanji are read now, for the status line and the reading line.
  let dictionary = 'pending';
  let dictionaryWhy = '';  // why the in-context dictionary is absent
  function readingSays(mode) {
    if (mode === 'context') return 'kanji are read in context (NAIST-jdic analyser)';
    if (mode === 'pairs') {
      if (dictionary === 'pending') return 'kanji are read with the general pairs of reading.dic until the in-context dictionary arrives';
      // Said plainly: what the author hears is then not what the DLL says.
      const where = location.protocol === 'file:' ? 'naist-jdic.js beside workbench.html' : 'naist-jdic/';
      return `kanji are read with the general pairs of reading.dic, not in context as the DLL reads them: the in-context dictionary ${where} could not be read (${dictionaryWhy || 'no reason given'})`;
    }
    return 'this voice reads no kanji in context';
  }

  // A script that is not spoken shows how kanji are read, not the kana
  // voiced for the script before, which would pass for its own.
  function forgetReading() {
    $('reading-line').textContent = readingSays(vokari.readingMode());
  }

  function showReading(result) {
    $('reading-line').textContent = result.reading !== null && result.reading !== undefined
      ? 'Voiced as: ' + (result.reading || '(nothing)') : readingSays(result.readingMode);
  }

  vokari.onEvent((event) => {
    if (event.type === 'restarted') { setStatus(event.message); appendLog('log-speak', event.message + '\n'); }
    if (event.type === 'reading') {
      dictionary = event.dictionary;
      dictionaryWhy = event.why;
    }
    if (event.type === 'reading' && event.mode) {
      if (event.log) $('log-voice').textContent = event.log;
      $('reading-line').textContent = readingSays(event.mode);
      if (page.ready) setStatus('Ready: bundled voice loaded; ' + readingSays(event.mode) + '.');
    }
  });

  // ---- sound --------------------------------------------------------------
  let audio = null;
  let playing = null;

  function audioContext() {
    if (!audio) audio = new AudioContext({ latencyHint: 'interactive' });
    if (audio.state === 'suspended') audio.resume();
    return audio;
  }

  // The module's mu-law code layout: each code stands for the top of its
  // quantisation interval, full scale 8158.
  const MULAW = new Float32Array(256);
  for (let b = 0; b < 256; b++) {
    const x = b < 0x80 ? 0x7f - b : 0xff - b;
    const magnitude = ((2 * (x & 15) + 34) << (x >> 4)) - 34;
    MULAW[b] = (b < 0x80 ? -magnitude : magnitude) / 8159;
  }

  // The samples of a module WAV image (58-byte header, mu-law at 22050 Hz).
  function wavSamples(wav) {
    const view = new DataView(wav.buffer, wav.byteOffset, wav.byteLength);
    const count = Math.min(view.getUint32(54, true), wav.length - 58);
    const samples = new Float32Array(count);
    for (let i = 0; i < count; i++) samples[i] = MULAW[wav[58 + i]];
    return samples;
  }

  function stopSound() {
    if (playing) { try { playing.stop(); } catch (e) { /* already ended */ } playing = null; }
  }

  // Plays mono samples at `rate`; returns the context time at which they start.
  function playSamples(samples, rate) {
    const context = audioContext();
    stopSound();
    const buffer = context.createBuffer(1, Math.max(1, samples.length), rate);
    buffer.copyToChannel(samples, 0);
    const source = context.createBufferSource();
    source.buffer = buffer;
    source.connect(context.destination);
    const at = context.currentTime;
    source.start(at);
    playing = source;
    return at;
  }

  // ---- Speak --------------------------------------------------------------
  const SETTING_IDS = ['talkSpeed', 'messageSpeed', 'frequencyMain', 'frequencyPartner'];

  function settingsFromInputs() {
    const options = {};
    for (const id of SETTING_IDS) if ($(id).value !== '') options[id] = $(id).value;
    return options;
  }

  // The text box's line breaks are the host's "\n" tag.
  function scriptFromBox() {
    return $('script').value.replace(/\r?\n/g, '\\n');
  }

  let paceFrame = 0;

  // The most samples the module renders for one script (47.55 s at 22050 Hz);
  // longer speech is cut there and the rest of the text shows in silence.
  const MODULE_SAMPLE_LIMIT = 1048576;

  // Where a script was cut, in words: the time and the text shown then (the
  // reply's waits keep the text at the speech's pace).
  function cutAt(display, cutMs) {
    const chars = display ? display.events.filter((e) => e.kind === 'char') : [];
    const at = chars.findIndex((e) => e.ms >= cutMs);
    const where = at < 0 ? '' : ` at character ${at + 1} of ${chars.length} shown, 「${chars.slice(at, at + 12).map((e) => e.text).join('')}…」`;
    return `. The speech was cut at the module's limit of ${(MODULE_SAMPLE_LIMIT / 22050).toFixed(1)} s${where}; ` +
           'the rest shows in silence. Split the script to hear all of it.';
  }

  // The pitch accent over the waveform: per speaker, the factor the module
  // played (its accent events) across the spans where its voice runs, on a
  // scale of pitch steps (48 to the octave) with the voice's own pitch near
  // the top, above most of the waveform.  The author's pitch tags are not in it: they
  // stand in the script.
  const SPEAKER_COLOURS = ['#d0542b', '#2b7bd0'];
  const PITCH_STEP = Math.log(1.014546);
  const PIXELS_PER_STEP = 3;

  // One polyline per span of `speaker` ({accent, spans} in samples), as
  // [sample, factor] points: a step at every accent event.
  function pitchPolylines(speaker) {
    const lines = [];
    let next = 0;
    let factor = 1;
    for (const [start, end] of speaker.spans) {
      while (next < speaker.accent.length && speaker.accent[next][0] <= start) factor = speaker.accent[next++][1];
      const points = [[start, factor]];
      while (next < speaker.accent.length && speaker.accent[next][0] < end) {
        const [at, to] = speaker.accent[next++];
        points.push([at, factor], [at, to]);
        factor = to;
      }
      points.push([end, factor]);
      lines.push(points);
    }
    return lines;
  }

  // Draws the pitch line of `pitch` (as vokari.speak gives it) with `x` (ms to
  // pixels) into the top `height` pixels of `g`; nothing when the module
  // played no accent.  What is drawn goes to page.pitchLine, each point as
  // [sample, factor, x, y].
  function drawPitchLine(g, pitch, x, height) {
    page.pitchLine = [];
    if (!pitch || pitch.speakers.every((speaker) => speaker.accent.length === 0)) return;
    const y = (factor) => Math.round(Math.min(height - 2, Math.max(2, height * 0.15 - Math.log(factor) / PITCH_STEP * PIXELS_PER_STEP)));
    g.lineWidth = 2;
    for (const [number, speaker] of pitch.speakers.entries()) {
      g.strokeStyle = SPEAKER_COLOURS[number];
      for (const line of pitchPolylines(speaker)) {
        const points = line.map(([sample, factor]) => [sample, factor, Math.round(x(sample / 22.05)), y(factor)]);
        g.beginPath();
        for (const [i, [, , px, py]] of points.entries()) (i === 0 ? g.moveTo : g.lineTo).call(g, px, py);
        g.stroke();
        page.pitchLine.push({ speaker: number, points });
      }
    }
    g.lineWidth = 1;
    g.fillStyle = '#667';
    g.font = '11px sans-serif';
    g.fillText('pitch accent', 4, 12);
  }

  // Draws the waveform of `samples`, the pitch line of `pitch` and a mark
  // per shown character of `display` on one time axis into `canvas`.
  function drawWaveform(samples, display, canvas = $('waveform'), pitch = null) {
    const g = canvas.getContext('2d');
    const w = canvas.width, h = canvas.height, wave = h - 40;
    g.clearRect(0, 0, w, h);
    const soundMs = samples ? samples.length / 22.05 : 0;
    const totalMs = Math.max(soundMs, display ? display.end_ms : 0, 1);
    const x = (ms) => ms / totalMs * (w - 1);
    if (samples) {
      g.strokeStyle = '#445';
      g.beginPath();
      const columns = Math.max(1, x(soundMs));
      for (let px = 0; px < columns; px++) {
        let lo = 0, hi = 0;
        const to = Math.min(samples.length, Math.floor((px + 1) * samples.length / columns));
        for (let i = Math.floor(px * samples.length / columns); i < to; i++) {
          if (samples[i] < lo) lo = samples[i];
          if (samples[i] > hi) hi = samples[i];
        }
        g.moveTo(px + 0.5, wave / 2 - hi * wave / 2);
        g.lineTo(px + 0.5, wave / 2 - lo * wave / 2 + 1);
      }
      g.stroke();
    }
    drawPitchLine(g, pitch, x, wave);
    if (display) {
      g.font = '12px sans-serif';
      let shown = 0;
      for (const event of display.events) {
        if (event.kind !== 'char') continue;
        if (++shown > 400) break;
        g.fillStyle = SPEAKER_COLOURS[event.speaker === 0 ? 0 : 1];
        g.fillRect(x(event.ms), wave, 1, 8);
        g.fillText(event.text, x(event.ms) - 3, wave + 22 + (shown % 2) * 14);
      }
      g.strokeStyle = '#999';
      g.setLineDash([4, 3]);
      g.beginPath(); g.moveTo(x(display.end_ms), 0); g.lineTo(x(display.end_ms), h); g.stroke();
      g.setLineDash([]);
    }
  }

  // The drawing of drawWaveform, made once, with a cursor at `ms` on top.
  function drawCursor(picture, totalMs, ms) {
    const canvas = $('waveform');
    const g = canvas.getContext('2d');
    g.clearRect(0, 0, canvas.width, canvas.height);
    g.drawImage(picture, 0, 0);
    const at = ms / Math.max(totalMs, 1) * (canvas.width - 1);
    g.strokeStyle = '#f0b429';
    g.beginPath(); g.moveTo(at, 0); g.lineTo(at, canvas.height); g.stroke();
  }

  function showMoments(display) {
    const body = $('moments').querySelector('tbody');
    body.textContent = '';
    if (!display) return;
    const rows = document.createDocumentFragment();
    let count = 0;
    for (const event of display.events) {
      if (event.kind !== 'char') continue;
      if (++count > 300) break;
      const row = document.createElement('tr');
      for (const cell of [event.ms, event.speaker === 0 ? 'main' : 'partner', event.text]) {
        const td = document.createElement('td');
        td.textContent = cell;
        row.appendChild(td);
      }
      rows.appendChild(row);
    }
    body.appendChild(rows);
  }

  // Shows the reply in the balloons at the host's pace, from `startMs` of
  // performance.now() (or from the sound's start on the audio clock), beside
  // the waveform with its pitch line.
  function pace(display, samples, clock, pitch = null) {
    cancelAnimationFrame(paceFrame);
    const texts = [...document.querySelectorAll('.balloon .text')];
    for (const t of texts) t.textContent = '';
    const picture = document.createElement('canvas');
    picture.width = $('waveform').width;
    picture.height = $('waveform').height;
    drawWaveform(samples, display, picture, pitch);
    const soundMs = samples ? samples.length / 22.05 : 0;
    const totalMs = Math.max(soundMs, display ? display.end_ms : 0);
    drawCursor(picture, totalMs, 0);
    if (!display) return;
    let next = 0;
    let speaker = 0;
    const step = () => {
      const now = clock();
      let chunk = '';
      const flush = () => { if (chunk) { texts[speaker].appendChild(document.createTextNode(chunk)); chunk = ''; } };
      while (next < display.events.length && display.events[next].ms <= now) {
        const event = display.events[next++];
        if (event.kind === 'speaker') { flush(); speaker = event.speaker; }
        else if (event.kind === 'break') chunk += '\n';
        else { if (event.speaker !== speaker) { flush(); speaker = event.speaker; } chunk += event.text; }
      }
      flush();
      drawCursor(picture, totalMs, Math.min(now, totalMs));
      if (next < display.events.length || now < soundMs) paceFrame = requestAnimationFrame(step);
    };
    step();
  }

  async function speakFromBox() {
    const clicked = performance.now();
    audioContext();
    showError($('script-error'), '');
    showError($('settings-error'), '');
    let options;
    try {
      options = vokari.checkSettings(settingsFromInputs());
    } catch (error) {
      forgetReading();
      showError($('settings-error'), error.message);
      setStatus('Not spoken.', 'speak');
      return;
    }
    if ($('script').value.trim() === '') {
      forgetReading();
      showError($('script-error'), '');
      setStatus('The script is empty, so it makes no sound: write something to speak in the box.', 'speak');
      return;
    }
    const encoded = vokari.encode(scriptFromBox());
    if (!encoded.bytes) {
      forgetReading();
      showError($('script-error'), 'These characters have no Shift_JIS form and cannot be spoken: ' + encoded.missing.join(', ') + '.');
      setStatus('Not spoken.', 'speak');
      return;
    }
    if ($('saori').checked) options.protocol = 'saori';
    setStatus('Speaking…', 'speak');
    $('speak-button').disabled = true;
    let result;
    try {
      result = await vokari.speak(encoded.bytes, options);
    } catch (error) {
      setStatus('', 'speak');
      forgetReading();
      showError($('script-error'), error.message);
      return;
    } finally {
      $('speak-button').disabled = false;
    }
    page.wav = result.wav;
    page.reply = result.reply;
    $('reply').textContent = result.reply.length > 20000 ? result.reply.slice(0, 20000) + '…' : result.reply;
    showReading(result);
    appendLog('log-speak', result.log);
    $('download-wav').disabled = !result.wav;
    $('download-svg').disabled = !result.wav || !result.display;
    const samples = result.wav ? wavSamples(result.wav) : null;
    showMoments(result.display);
    if (samples) {
      const start = playSamples(samples, 22050);
      // From the click to the sound handed to the audio device, plus what the
      // device itself says it adds before the sound is heard.
      const toStart = performance.now() - clicked;
      const device = ((audio.baseLatency || 0) + (audio.outputLatency || 0)) * 1000;
      const latency = toStart + device;
      page.stats.clickToSoundMs.push(latency);
      page.stats.clickToStartMs = (page.stats.clickToStartMs || []).concat([toStart]);
      page.stats.deviceLatencyMs = device;
      page.stats.lastRequestMs = result.requestMs;
      const cut = samples.length >= MODULE_SAMPLE_LIMIT ? cutAt(result.display, samples.length / 22.05) : '';
      setStatus(`Speaking: ${(samples.length / 22050).toFixed(2)} s, sound ${latency.toFixed(0)} ms after the click` + cut, 'speak');
      pace(result.display, samples, () => (audio.currentTime - start) * 1000, result.pitch);
    } else {
      setStatus('The script makes no sound: nothing in it is spoken (only kana are; kanji need the voice\'s reading dictionary).', 'speak');
      const began = performance.now();
      pace(result.display, null, () => performance.now() - began);
    }
  }

  $('speak-button').addEventListener('click', speakFromBox);
  $('stop-button').addEventListener('click', () => {
    stopSound();
    cancelAnimationFrame(paceFrame);
    // A script still being worked on is abandoned with its worker.
    if (vokari.busy()) vokari.restart();
    setStatus('Stopped.', 'speak');
  });
  $('download-wav').addEventListener('click', () => page.wav && download(page.wav, 'vokari.wav', 'audio/wav'));
  $('download-svg').addEventListener('click', async () => {
    const svg = await vokari.utteranceSvg(page.wav, page.reply, $('script').value.slice(0, 60));
    download(new TextEncoder().encode(svg), 'vokari.svg', 'image/svg+xml');
  });

  // ---- Voice --------------------------------------------------------------
  // The module directory inside a set of paths: the folder holding vokari.txt
  // or a sample folder, nearest the top.
  function moduleRoot(paths) {
    let best = null;
    for (const path of paths) {
      const parts = path.split('/');
      for (let i = 0; i < parts.length; i++) {
        if (/^(vokari\.txt|vokari[vc][01])$/i.test(parts[i])) {
          const root = parts.slice(0, i).join('/');
          if (best === null || root.length < best.length) best = root;
          break;
        }
      }
    }
    return best;
  }

  // What the module's log of a load says went wrong, one line each: files it
  // could not open, sample folders without a single sample, errors, warnings.
  function loadProblems(log) {
    const problems = [];
    for (const line of log.replace(/\r/g, '').split('\n')) {
      const folder = /^reading data from directory (\S+) : ([o-]*)/.exec(line);
      if (folder) {
        const loaded = (folder[2].match(/o/g) || []).length;
        if (loaded === 0) problems.push(`${folder[1]}: no sample could be read`);
      } else if (/Can't open file/.test(line)) {
        problems.push(line.replace(/\s*(\.\.\.|:)?\s*Can't open file.*/, '') + ': cannot be opened');
      } else if (/^(ERROR|WARNING) : /.test(line)) {
        problems.push(line);
      }
    }
    return problems;
  }

  async function loadVoiceFiles(entries, name) {
    const paths = Object.keys(entries);
    const root = moduleRoot(paths);
    if (root === null) {
      const bank = vokari.findCvBank(paths);
      if (bank) return openCvBank(entries, name, bank);
      $('log-voice').textContent = '';
      setStatus(`${name} holds no vokari.txt, no sample folder (vokariv0, vokaric0, …) and no oto.ini; the voice was not changed.`, 'voice');
      return;
    }
    $('cv-bank').hidden = true;
    const files = {};
    for (const path of paths) {
      if (root === '' || path.startsWith(root + '/')) files[root === '' ? path : path.slice(root.length + 1)] = entries[path];
    }
    setStatus(`Loading ${name}…`, 'voice');
    try {
      const result = await vokari.load(files, vokari.checkSettings(settingsFromInputs()));
      $('log-voice').textContent = result.log;
      $('voice-name').textContent = `Voice: ${name} (${Object.keys(files).length} files)`;
      const problems = loadProblems(result.log);
      $('voice-problems').textContent = problems.join('\n');
      setStatus(problems.length ? `Loaded ${name} with ${problems.length} problems; see below and the module's log.` : `Loaded ${name}.`, 'voice');
    } catch (error) {
      setStatus(`${name} could not be loaded: ${error.message}`, 'voice');
    }
  }

  $('open-folder').addEventListener('change', async (event) => {
    const entries = {};
    for (const file of event.target.files) {
      const path = file.webkitRelativePath || file.name;
      entries[path.split('/').slice(1).join('/') || path] = new Uint8Array(await file.arrayBuffer());
    }
    const first = event.target.files[0];
    await loadVoiceFiles(entries, first ? (first.webkitRelativePath || first.name).split('/')[0] : 'folder');
    event.target.value = '';
  });

  $('open-zip').addEventListener('change', async (event) => {
    const file = event.target.files[0];
    if (!file) return;
    let entries;
    try {
      const all = fflate.unzipSync(new Uint8Array(await file.arrayBuffer()));
      entries = {};
      for (const [path, bytes] of Object.entries(all)) if (!path.endsWith('/')) entries[zipEntryName(path)] = bytes;
    } catch (error) {
      setStatus(`${file.name} is not a zip that can be read (${error.message}); the voice was not changed.`, 'voice');
      event.target.value = '';
      return;
    }
    await loadVoiceFiles(entries, file.name);
    event.target.value = '';
  });

  // Zips made on Japanese Windows store names in Shift_JIS without saying
  // so, and the zip reader then reads them as Latin-1: such a name is read
  // again from its bytes, as UTF-8 when it is valid UTF-8, else as Shift_JIS.
  function zipEntryName(name) {
    if (!/[\u0080-\u00ff]/.test(name) || /[^\u0000-\u00ff]/.test(name)) return name;
    const bytes = Uint8Array.from(name, (c) => c.charCodeAt(0));
    try {
      return new TextDecoder('utf-8', { fatal: true }).decode(bytes);
    } catch {
      return new TextDecoder('shift_jis').decode(bytes);
    }
  }

  // ---- CV banks ------------------------------------------------------------
  const cv = { entries: null, name: '', result: null, speech: null };
  page.cv = cv;

  function openCvBank(entries, name, bank) {
    cv.entries = entries;
    cv.name = name;
    $('cv-name').textContent = name;
    const select = $('cv-subbank');
    select.textContent = '';
    const all = new Option(`all (${bank.subbanks.length} oto.ini)`, '');
    select.add(all);
    for (const folder of bank.subbanks) if (folder) select.add(new Option(folder, folder));
    $('cv-bank').hidden = false;
    return importCvBank();
  }

  // Imports the opened bank with the chosen sub-bank and speaker into a copy
  // of the bundled voice, loads the result and speaks with it.
  async function importCvBank() {
    const speaker = Number($('cv-speaker').value);
    $('cv-import').disabled = true;
    $('cv-download').disabled = true;
    $('cv-speak').disabled = true;
    cv.result = null;
    cv.speech = null;
    try {
      const result = await vokari.importCvBank(cv.entries, {
        subbank: $('cv-subbank').value, speaker, name: cv.name, into: await vokari.bundledVoice(),
        onProgress: (done, total) => setStatus(`Decoding the recordings of ${cv.name}: ${done} of ${total}…`, 'voice'),
      });
      $('cv-report').textContent = result.report;
      if (!result.ok) {
        setStatus(`${cv.name} could not be imported (status ${result.status}); see the report. The voice was not changed.`, 'voice');
        return;
      }
      const loaded = await vokari.load(result.files, vokari.checkSettings(settingsFromInputs()));
      cv.result = result;
      $('log-voice').textContent = loaded.log;
      $('voice-problems').textContent = loadProblems(loaded.log).join('\n');
      $('voice-name').textContent = `Voice: ${cv.name} imported as speaker ${speaker}; the other speaker is the bundled voice's`;
      $('cv-download').disabled = false;
      $('cv-speak').disabled = false;
      await speakCvBank();
    } catch (error) {
      setStatus(`${cv.name} could not be imported: ${error.message}`, 'voice');
    } finally {
      $('cv-import').disabled = false;
    }
  }

  // Speaks the syllables the import filled, in slot order.
  async function speakCvBank() {
    const speaker = Number($('cv-speaker').value);
    const slots = Object.keys(cv.result.files).map((path) => new RegExp(`^vokari[vc]${speaker}/(\\d+)\\.wav$`).exec(path))
      .filter(Boolean).map((match) => Number(match[1])).sort((a, b) => a - b);
    const kana = slots.map((slot) => syllables[slot].kana).join('').slice(0, 40);
    const spoken = await vokari.speak(`\\${speaker}${kana}`);
    cv.speech = spoken;
    if (spoken.wav) playSamples(wavSamples(spoken.wav), 22050);
    const warnings = cv.result.status === 3 ? ' with warnings (see the report)' : '';
    setStatus(spoken.wav ? `Imported ${cv.name}${warnings}: ${slots.length} syllables; it speaks ${kana}.`
                         : `Imported ${cv.name}${warnings}, but it made no sound.`, 'voice');
  }

  $('cv-import').addEventListener('click', () => importCvBank());
  $('cv-speak').addEventListener('click', () => speakCvBank());
  $('cv-download').addEventListener('click', () => {
    const zip = fflate.zipSync(cv.result.files, { level: 6 });
    download(zip, cv.name.replace(/\.zip$/i, '') + '-vokari.zip', 'application/zip');
  });

  $('use-bundled').addEventListener('click', async () => {
    $('cv-bank').hidden = true;
    const result = await vokari.loadBundled(vokari.checkSettings(settingsFromInputs()));
    $('log-voice').textContent = result.log;
    $('voice-problems').textContent = loadProblems(result.log).join('\n');
    $('voice-name').textContent = 'Voice: bundled';
    setStatus('Loaded the bundled voice.', 'voice');
  });

  $('use-espeak').addEventListener('click', async () => {
    $('cv-bank').hidden = true;
    const result = await vokari.load(await vokari.espeakVoice(), vokari.checkSettings(settingsFromInputs()));
    $('log-voice').textContent = result.log;
    $('voice-problems').textContent = loadProblems(result.log).join('\n');
    $('voice-name').textContent = 'Voice: espeak-ng';
    setStatus('Loaded the espeak-ng voice.');
  });

  // ---- Record -------------------------------------------------------------
  const takes = {};          // romaji -> {name, recording (bytes of a file or the microphone's AudioBuffer), buffer to play}
  const otherFiles = new Set();  // opened sound files named after no syllable, which the build names
  let syllables = [];
  let current = 0;
  let lastTaken = -1;
  let microphone = null;     // {stream, source, processor}
  let recording = null;      // {chunks, timer}

  function micExplanation(error) {
    if (!navigator.mediaDevices || !navigator.mediaDevices.getUserMedia) {
      return 'This browser offers no microphone to this page. Browsers give the microphone only to pages served over https:// or from http://localhost; open the workbench that way.';
    }
    if (error && (error.name === 'NotAllowedError' || error.name === 'SecurityError')) {
      return 'The microphone was refused. Allow it for this page in the browser (the icon at the left of the address bar), then press Record again.';
    }
    if (error && (error.name === 'NotFoundError' || error.name === 'OverconstrainedError')) {
      return 'No microphone was found. Connect one (or choose it in the system settings), then press Record again.';
    }
    if (error && error.name === 'NotReadableError') {
      return 'The microphone is in use by another program or could not be started. Close the other program, then press Record again.';
    }
    return `The microphone could not be opened (${error ? error.name + ': ' + error.message : 'unknown reason'}).`;
  }

  async function openMicrophone() {
    if (microphone) return microphone;
    if (!navigator.mediaDevices || !navigator.mediaDevices.getUserMedia) throw micExplanation(null);
    let stream;
    try {
      stream = await navigator.mediaDevices.getUserMedia({ audio: { echoCancellation: false, noiseSuppression: false, autoGainControl: false } });
    } catch (error) {
      throw micExplanation(error);
    }
    const context = audioContext();
    const source = context.createMediaStreamSource(stream);
    const processor = context.createScriptProcessor(4096, 1, 1);
    const silent = context.createGain();
    silent.gain.value = 0;
    processor.onaudioprocess = (event) => {
      const input = event.inputBuffer.getChannelData(0);
      let sum = 0;
      for (let i = 0; i < input.length; i++) sum += input[i] * input[i];
      const db = 20 * Math.log10(Math.sqrt(sum / input.length) + 1e-9);
      $('level').style.width = Math.max(0, Math.min(100, (db + 60) / 60 * 100)) + '%';
      if (recording) recording.chunks.push(input.slice());
    };
    source.connect(processor);
    processor.connect(silent);
    silent.connect(context.destination);
    microphone = { stream, source, processor };
    return microphone;
  }

  function showSyllable() {
    const s = syllables[current];
    if (!s) return;
    $('syllable-kana').textContent = s.kana;
    $('syllable-romaji').textContent = s.romaji;
    $('syllable-count').textContent = `${current + 1} / ${syllables.length}`;
    $('play-take').disabled = !takes[s.romaji];
    $('retake-button').disabled = lastTaken < 0;
    const done = Object.keys(takes).length;
    $('recorded-count').textContent = `${done} recorded`;
    $('build-voice').disabled = done === 0;
    for (const [i, button] of [...$('syllable-grid').children].entries()) {
      button.classList.toggle('done', !!takes[syllables[i].romaji]);
      button.classList.toggle('current', i === current);
    }
  }

  function stopRecording() {
    if (!recording) return;
    clearTimeout(recording.timer);
    const { chunks, index } = recording;
    recording = null;
    $('record-button').textContent = 'Record';
    const length = chunks.reduce((n, c) => n + c.length, 0);
    const buffer = audio.createBuffer(1, Math.max(1, length), audio.sampleRate);
    let at = 0;
    const data = buffer.getChannelData(0);
    for (const c of chunks) { data.set(c, at); at += c.length; }
    takes[syllables[index].romaji] = { name: syllables[index].romaji, recording: buffer, buffer };
    lastTaken = index;
    // On to the next syllable not yet recorded.
    for (let step = 1; step <= syllables.length; step++) {
      const next = (index + step) % syllables.length;
      if (!takes[syllables[next].romaji]) { current = next; break; }
    }
    showSyllable();
  }

  async function startRecording(index) {
    showError($('mic-message'), '');
    try {
      await openMicrophone();
    } catch (message) {
      showError($('mic-message'), String(message));
      return;
    }
    current = index;
    showSyllable();
    recording = { chunks: [], index, timer: setTimeout(stopRecording, 4000) };
    $('record-button').textContent = 'Stop';
    setStatus(`Recording ${syllables[index].kana} (${syllables[index].romaji}): say it once, then press Stop.`, 'record');
  }

  $('record-button').addEventListener('click', () => (recording ? stopRecording() : startRecording(current)));
  $('retake-button').addEventListener('click', () => { if (!recording && lastTaken >= 0) startRecording(lastTaken); });
  $('play-take').addEventListener('click', () => {
    const take = takes[syllables[current].romaji];
    if (take) playSamples(take.buffer.getChannelData(0), take.buffer.sampleRate);
  });
  $('prev-syllable').addEventListener('click', () => { if (!recording) { current = (current + syllables.length - 1) % syllables.length; showSyllable(); } });
  $('next-syllable').addEventListener('click', () => { if (!recording) { current = (current + 1) % syllables.length; showSyllable(); } });

  // Recordings made elsewhere, named by syllable (a.wav, ka.wav, shi.flac,
  // ...): each becomes that syllable's take, kept as the file's bytes for the
  // build.  Other names are the builder's to judge, in its words.
  $('open-recordings').addEventListener('change', async (event) => {
    const skipped = [];
    let taken = 0;
    for (const file of event.target.files) {
      const { slot, sound, problem } = await vokari.recordingName(file.name);
      if (slot < 0) {
        skipped.push(problem);
        if (sound) otherFiles.add(file.name);
        continue;
      }
      const bytes = new Uint8Array(await file.arrayBuffer());
      try {
        const buffer = await audioContext().decodeAudioData(bytes.slice().buffer);
        takes[syllables[slot].romaji] = { name: file.name, recording: bytes, buffer };
        taken++;
      } catch (error) {
        skipped.push(`${file.name}: the browser cannot decode it`);
      }
    }
    event.target.value = '';
    showError($('mic-message'), skipped.length ? 'Left out:\n' + skipped.join('\n') : '');
    setStatus(`${taken} recordings opened.`, 'record');
    showSyllable();
  });

  $('build-voice').addEventListener('click', async () => {
    const speaker = Number($('speaker').value);
    setStatus('Building the voice…', 'record');
    $('build-voice').disabled = true;
    try {
      const recordings = {};
      for (const take of Object.values(takes)) recordings[take.name] = take.recording;
      for (const name of otherFiles) recordings[name] = new Uint8Array(0);
      page.built = await vokari.buildVoice(recordings, speaker);
      page.built.speaker = speaker;
      $('build-report').textContent = page.built.reportText;
      $('play-built').disabled = false;
      $('download-zip').disabled = false;
      setStatus(`Voice built: ${page.built.report.slots} syllables.`, 'record');
    } catch (error) {
      $('build-report').textContent = error.message;
      setStatus('The voice could not be built.', 'record');
    } finally {
      $('build-voice').disabled = false;
    }
  });

  // Loads what was built and speaks the recorded syllables with it.
  $('play-built').addEventListener('click', async () => {
    const built = page.built;
    const result = await vokari.load(built.files);
    $('log-voice').textContent = result.log;
    $('voice-name').textContent = 'Voice: recorded in the browser';
    const kana = syllables.filter((s) => takes[s.romaji]).map((s) => s.kana).join('').slice(0, 40);
    const spoken = await vokari.speak(`\\${built.speaker}${kana}`);
    page.builtSpeech = spoken;
    $('build-report').textContent = built.reportText + '\n' + spoken.log;
    if (spoken.wav) playSamples(wavSamples(spoken.wav), 22050);
    setStatus(spoken.wav ? `The built voice speaks ${kana}.` : 'The built voice made no sound.', 'record');
  });

  $('download-zip').addEventListener('click', () => {
    const zip = fflate.zipSync(page.built.files, { level: 6 });
    download(zip, 'vokari-voice.zip', 'application/zip');
  });

  // ---- start --------------------------------------------------------------
  if (!vokari.canStart) {
    setStatus('Opened as a file: browsers run the module only for pages from a web server, or for the workbench of the release zip. ' +
              'Serve this folder (for example: python3 -m http.server) and open it from there.');
  }
  vokari.ready.then(async (result) => {
    $('log-voice').textContent = result.log;
    syllables = (await vokari.info()).syllables;
    const grid = $('syllable-grid');
    for (const [i, s] of syllables.entries()) {
      const button = document.createElement('button');
      button.textContent = s.kana;
      button.title = s.romaji;
      button.addEventListener('click', () => { if (!recording) { current = i; showSyllable(); } });
      grid.appendChild(button);
    }
    showSyllable();
    drawWaveform(null, null);
    // The Shift_JIS table is built now rather than at the first click.
    vokari.encode('');
    page.ready = true;
    $('reading-line').textContent = readingSays(result.reading);
    setStatus('Ready: bundled voice loaded; ' + readingSays(vokari.readingMode()) + '.');
  }, (error) => { if (vokari.canStart) setStatus('The module could not start: ' + error.message); });
})();
