// "Save video": the canvas recorded as it is shown, at the show's real pace,
// for the chosen seconds, as a WebM (the browser's MediaRecorder, VP9 where it
// has it, else VP8), given its duration and downloaded.
import { withDuration } from './webm.js';

const FRAMES_PER_SECOND = 30;
// Single bright pixels on black want far more than a recorder's default rate.
const BITS_PER_SECOND = 12_000_000;
const TYPES = ['video/webm;codecs=vp9', 'video/webm;codecs=vp8', 'video/webm'];

export function canRecord() {
  return typeof MediaRecorder !== 'undefined' && TYPES.some((type) => MediaRecorder.isTypeSupported(type));
}

export class CanvasRecording {
  // Starts at once; `onTick(secondsLeft)` about every tenth of a second.
  constructor(canvas, seconds, onTick) {
    this.stream = canvas.captureStream(FRAMES_PER_SECOND);
    const mimeType = TYPES.find((type) => MediaRecorder.isTypeSupported(type));
    this.recorder = new MediaRecorder(this.stream, { mimeType, videoBitsPerSecond: BITS_PER_SECOND });
    this.chunks = [];
    this.recorder.addEventListener('dataavailable', (event) => {
      if (event.data.size > 0) this.chunks.push(event.data);
    });
    this.finished = new Promise((resolve, reject) => {
      this.recorder.addEventListener('stop', () => resolve());
      this.recorder.addEventListener('error', (event) => reject(event.error ?? new Error('the recording failed')));
    });
    const started = performance.now();
    this.timer = setInterval(() => {
      const left = seconds - (performance.now() - started) / 1000;
      if (left <= 0) this.stop();
      else onTick(left);
    }, 100);
    this.recorder.start(1000);
    onTick(seconds);
  }

  stop() {
    clearInterval(this.timer);
    if (this.recorder.state !== 'inactive') this.recorder.stop();
  }

  // The WebM, once stopped.
  async blob() {
    await this.finished;
    for (const track of this.stream.getTracks()) track.stop();
    const bytes = new Uint8Array(await new Blob(this.chunks).arrayBuffer());
    return new Blob([withDuration(bytes)], { type: 'video/webm' });
  }
}
