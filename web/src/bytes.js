// A file's bytes as editor text and back. Files are UTF-8; one that is not
// (a stray byte of 128 or more) is shown as Latin-1, one character a byte, and
// keeps its bytes: the loader sees exactly the file the link or test gave.
const strictUtf8 = new TextDecoder('utf-8', { fatal: true, ignoreBOM: true });
const utf8 = new TextEncoder();

// { text, latin1 }.
export function bytesToText(bytes) {
  try {
    return { text: strictUtf8.decode(bytes), latin1: false };
  } catch {
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
    return { text, latin1: true };
  }
}

// A Latin-1 file keeps one byte a character; a character it cannot hold
// (typed into it later) becomes "?".
export function textToBytes(text, latin1 = false) {
  if (!latin1) return utf8.encode(text);
  return Uint8Array.from(text, (c) => (c.charCodeAt(0) < 256 ? c.charCodeAt(0) : 0x3f));
}
