// The little of WebM (EBML) that the saved videos need: reading a file's
// header, track and block times, and giving a recording its duration. A
// browser's MediaRecorder writes its WebM as a live stream, with no duration,
// which many players then show as endless and cannot seek in.
const ID = {
  ebml: 0x1a45dfa3, docType: 0x4282, segment: 0x18538067, info: 0x1549a966, timecodeScale: 0x2ad7b1,
  duration: 0x4489, tracks: 0x1654ae6b, trackEntry: 0xae, codecId: 0x86, video: 0xe0, pixelWidth: 0xb0,
  pixelHeight: 0xba, cluster: 0x1f43b675, timecode: 0xe7, simpleBlock: 0xa3, blockGroup: 0xa0, block: 0xa1,
  cues: 0x1c53bb6b,
};
const CONTAINERS = new Set([ID.ebml, ID.segment, ID.info, ID.tracks, ID.trackEntry, ID.video, ID.cluster, ID.blockGroup]);
const UNKNOWN = -1;

// A variable-length number at `at`: its value and length; with `keepMarker`
// the leading length bit stays (element IDs are written so).
function readVint(bytes, at, keepMarker) {
  const first = bytes[at];
  let length = 1;
  while (length <= 8 && !(first & (0x80 >> (length - 1)))) length++;
  if (length > 8 || at + length > bytes.length) throw new Error(`bad EBML number at ${at}`);
  let value = keepMarker ? first : first & (0xff >> length);
  let allOnes = value === (0xff >> length);
  for (let i = 1; i < length; i++) {
    value = value * 256 + bytes[at + i];
    allOnes &&= bytes[at + i] === 0xff;
  }
  return { value: !keepMarker && allOnes ? UNKNOWN : value, length };
}

// Every element under [start, end), depth first: visit(id, dataStart, dataEnd,
// headerStart). An element of unknown size (a live stream's Segment and
// Clusters) runs to the next Cluster or Cues, or the end.
function walk(bytes, start, end, visit) {
  let at = start;
  while (at < end) {
    const id = readVint(bytes, at, true);
    const size = readVint(bytes, at + id.length, false);
    const dataStart = at + id.length + size.length;
    let dataEnd = size.value === UNKNOWN ? end : Math.min(end, dataStart + size.value);
    if (size.value === UNKNOWN && id.value === ID.cluster) dataEnd = clusterEnd(bytes, dataStart, end);
    visit(id.value, dataStart, dataEnd, at);
    if (CONTAINERS.has(id.value)) walk(bytes, dataStart, dataEnd, visit);
    at = dataEnd;
  }
}

function clusterEnd(bytes, start, end) {
  let at = start;
  while (at < end) {
    const id = readVint(bytes, at, true);
    if (id.value === ID.cluster || id.value === ID.cues) return at;
    const size = readVint(bytes, at + id.length, false);
    at += id.length + size.length + size.value;
  }
  return end;
}

function readUint(bytes, start, end) {
  let value = 0;
  for (let i = start; i < end; i++) value = value * 256 + bytes[i];
  return value;
}

function readFloat(bytes, start, end) {
  const view = new DataView(bytes.buffer, bytes.byteOffset + start, end - start);
  return end - start === 4 ? view.getFloat32(0) : view.getFloat64(0);
}

// What a WebM holds: { docType, codec, width, height, durationMs (null when
// none is written), blockTimesMs (every block's time, in file order) }.
export function readWebm(bytes) {
  const found = { docType: null, codec: null, width: 0, height: 0, durationMs: null, blockTimesMs: [] };
  let scaleNs = 1e6;
  let duration = null;
  let clusterTime = 0;
  const text = (start, end) => new TextDecoder().decode(bytes.subarray(start, end));
  walk(bytes, 0, bytes.length, (id, start, end) => {
    if (id === ID.docType) found.docType = text(start, end);
    else if (id === ID.timecodeScale) scaleNs = readUint(bytes, start, end);
    else if (id === ID.duration) duration = readFloat(bytes, start, end);
    else if (id === ID.codecId) found.codec = text(start, end);
    else if (id === ID.pixelWidth) found.width = readUint(bytes, start, end);
    else if (id === ID.pixelHeight) found.height = readUint(bytes, start, end);
    else if (id === ID.timecode) clusterTime = readUint(bytes, start, end);
    else if (id === ID.simpleBlock || id === ID.block) {
      const track = readVint(bytes, start, false);
      const relative = new DataView(bytes.buffer, bytes.byteOffset + start + track.length, 2).getInt16(0);
      found.blockTimesMs.push(((clusterTime + relative) * scaleNs) / 1e6);
    }
  });
  if (duration !== null) found.durationMs = (duration * scaleNs) / 1e6;
  return found;
}

function vint8(value) {
  const out = new Uint8Array(8);
  out[0] = 0x01;
  for (let i = 7, rest = value; i >= 1; i--, rest = Math.floor(rest / 256)) out[i] = rest % 256;
  return out;
}

// The file with a Duration in its Info: the last block's time and one frame
// more (the mean gap between blocks). A file that has one is returned as it is.
export function withDuration(bytes) {
  const file = readWebm(bytes);
  if (file.durationMs !== null || file.blockTimesMs.length === 0) return bytes;
  const times = file.blockTimesMs;
  const last = Math.max(...times);
  const frame = times.length > 1 ? (last - Math.min(...times)) / (times.length - 1) : 0;
  let info = null;
  let segment = null;
  let scaleNs = 1e6;
  walk(bytes, 0, bytes.length, (id, start, end, header) => {
    if (id === ID.info && info === null) info = { header, start, end };
    else if (id === ID.segment && segment === null) segment = { header, start, end };
    else if (id === ID.timecodeScale) scaleNs = readUint(bytes, start, end);
  });
  if (info === null || segment === null) return bytes;

  const durationElement = new Uint8Array(11);
  durationElement.set([0x44, 0x89, 0x88]);
  new DataView(durationElement.buffer).setFloat64(3, ((last + frame) * 1e6) / scaleNs);
  const content = bytes.subarray(info.start, info.end);
  const idLength = readVint(bytes, info.header, true).length;
  const newInfo = concat([bytes.subarray(info.header, info.header + idLength), vint8(content.length + 11), content, durationElement]);
  const grown = newInfo.length - (info.end - info.header);
  let before = bytes.subarray(0, info.header);
  // A Segment of known size grows by as much.
  const segmentSize = readVint(bytes, segment.header + 4, false);
  if (segmentSize.value !== UNKNOWN) {
    before = concat([bytes.subarray(0, segment.header + 4), vint8(segmentSize.value + grown), bytes.subarray(segment.start, info.header)]);
  }
  return concat([before, newInfo, bytes.subarray(info.end)]);
}

function concat(parts) {
  const out = new Uint8Array(parts.reduce((sum, part) => sum + part.length, 0));
  let at = 0;
  for (const part of parts) {
    out.set(part, at);
    at += part.length;
  }
  return out;
}
