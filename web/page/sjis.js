// Shift_JIS (code page 932) for the page: the module reads and writes only
// those bytes, the page shows and takes Unicode text.  The tables are built
// once from the browser's own Shift_JIS decoder.
'use strict';
(function () {
  let encodeTable = null;

  // Code page 932 forms of characters that the browser's decoder gives
  // another code point for, or that Windows users type in their place.
  const EXTRA_FORMS = [
    [0xff5e, 0x8160], [0x301c, 0x8160], [0x2225, 0x8161], [0x2016, 0x8161], [0xff0d, 0x817c],
    [0x2212, 0x817c], [0xffe0, 0x8191], [0x00a2, 0x8191], [0xffe1, 0x8192], [0x00a3, 0x8192],
    [0xffe2, 0x81ca], [0x00ac, 0x81ca],
    // The yen sign must never become the byte 0x5C: the module reads that as
    // the start of a script tag.  The full-width yen sign stands in for it.
    [0x00a5, 0x818f], [0x203e, 0x8150],
  ];

  function buildEncodeTable() {
    const decoder = new TextDecoder('shift_jis');
    const table = new Map();
    for (let b = 0; b < 0x80; b++) table.set(b, [b]);
    for (let b = 0xa1; b <= 0xdf; b++) table.set(decoder.decode(new Uint8Array([b])).codePointAt(0), [b]);
    const leads = [];
    for (let b = 0x81; b <= 0x9f; b++) leads.push(b);
    for (let b = 0xe0; b <= 0xfc; b++) leads.push(b);
    // NEC's selection of IBM extensions (leads 0xED, 0xEE) repeats characters
    // that the IBM extensions (0xFA-0xFC) hold too; Windows writes the latter.
    const preferred = leads.filter((b) => b !== 0xed && b !== 0xee).concat([0xed, 0xee]);
    for (const lead of preferred) {
      for (let trail = 0x40; trail <= 0xfc; trail++) {
        if (trail === 0x7f) continue;
        const text = decoder.decode(new Uint8Array([lead, trail]));
        const code = text.codePointAt(0);
        if (text.length !== 1 || code === 0xfffd) continue;
        if (!table.has(code)) table.set(code, [lead, trail]);
      }
    }
    for (const [code, bytes] of EXTRA_FORMS) {
      if (code === 0x00a5 || code === 0x203e || !table.has(code)) table.set(code, [bytes >> 8, bytes & 0xff]);
    }
    return table;
  }

  function describe(code) {
    return `"${String.fromCodePoint(code)}" (U+${code.toString(16).toUpperCase().padStart(4, '0')})`;
  }

  // Unicode text in; {bytes, missing} out.  `missing` names every character
  // without a Shift_JIS form once, with its code point and where it first
  // stands (1-based character count); when it is not empty `bytes` is null.
  function encode(text) {
    if (!encodeTable) encodeTable = buildEncodeTable();
    const out = new Uint8Array(text.length * 2);
    let size = 0;
    const missing = new Map();
    let position = 0;
    for (const ch of text) {
      position++;
      const code = ch.codePointAt(0);
      const bytes = encodeTable.get(code);
      if (!bytes) {
        if (!missing.has(code)) missing.set(code, position);
        continue;
      }
      for (const b of bytes) out[size++] = b;
    }
    const names = [...missing].map(([code, at]) => `${describe(code)} at character ${at}`);
    return { bytes: names.length ? null : out.slice(0, size), missing: names };
  }

  // Shift_JIS bytes in, Unicode text out (bytes that form no character become
  // U+FFFD).
  function decode(bytes) {
    return new TextDecoder('shift_jis').decode(bytes);
  }

  self.sjis = { encode, decode };
})();
