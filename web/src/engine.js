// The show's engine: the WebAssembly module (src/platform/web) behind a small
// class. Files go in as bytes; notes come out as JSON.
import { wasiImports } from './wasi.js';

export class Engine {
  static async load(url) {
    const response = await fetch(url);
    if (!response.ok) throw new Error(`${url}: ${response.status} ${response.statusText}`);
    return Engine.instantiate(await response.arrayBuffer());
  }

  // The module from its bytes; `now` is the real clock it reads, in
  // milliseconds (the page's own by default).
  static async instantiate(bytes, now = () => performance.now()) {
    let memory = null;
    const imports = { wasi_snapshot_preview1: wasiImports(() => memory, now) };
    const { instance } = await WebAssembly.instantiate(bytes, imports);
    memory = instance.exports.memory;
    instance.exports._initialize();
    return new Engine(instance.exports);
  }

  constructor(exports) {
    this.x = exports;
    this.decoder = new TextDecoder();
  }

  setFile(which, bytes) {
    const at = this.x.zirvo_input(bytes.length);
    new Uint8Array(this.x.memory.buffer, at, bytes.length).set(bytes);
    this.x.zirvo_set_file(which);
  }

  output() {
    const at = this.x.zirvo_output();
    const length = this.x.zirvo_output_length();
    return this.decoder.decode(new Uint8Array(this.x.memory.buffer, at, length));
  }

  // Loads a new show in place of the running one: { loaded, notes }.
  loadShow({ scene, settings, width, height, seed }) {
    this.setFile(0, scene);
    this.setFile(1, settings);
    const loaded = this.x.zirvo_load(width, height, seed >>> 0) === 1;
    return { loaded, notes: JSON.parse(this.output()) };
  }

  // One frame of the show: the module runs the Delays the real time since the
  // last frame buys, within its frame budget: { turns, delays, ended, behind }.
  frame() {
    const turns = this.x.zirvo_frame();
    const state = this.x.zirvo_frame_state();
    return { turns, delays: this.x.zirvo_frame_delays(), ended: (state & 1) !== 0, behind: (state & 2) !== 0 };
  }

  // The speed in presses of Up (negative: Down), and the factor that many
  // presses give.
  setSpeedSteps(steps) {
    this.x.zirvo_set_speed_steps(steps);
  }

  speedOfSteps(steps) {
    return this.x.zirvo_speed_of_steps(steps);
  }

  setPaused(paused) {
    this.x.zirvo_set_paused(paused ? 1 : 0);
  }

  showSeconds() {
    return this.x.zirvo_show_seconds();
  }

  // The pixels of the running show as ImageData over the module's memory, and
  // the box set since the last call (null when none).
  takeChanges(width, height) {
    const box = new Int32Array(this.x.memory.buffer, this.x.zirvo_take_changed(), 4);
    const [left, top, boxWidth, boxHeight] = box;
    if (boxWidth <= 0) return null;
    const pixels = new Uint8ClampedArray(this.x.memory.buffer, this.x.zirvo_pixels(), width * height * 4);
    return { image: new ImageData(pixels, width, height), left, top, width: boxWidth, height: boxHeight };
  }

  // zirvo-render's trace of a fresh show of these files; the running show goes on.
  trace({ scene, settings, width, height, seed, seconds, maxLines }) {
    this.setFile(0, scene);
    this.setFile(1, settings);
    this.x.zirvo_trace(width, height, seed >>> 0, seconds, maxLines);
    return this.output();
  }

  banner() {
    this.x.zirvo_banner();
    return this.output().replace(/\r\n/g, '\n');
  }
}
