// The show on the canvas, paced by real time: at every animation frame the
// module's frame pacer runs the turns that the time since the last frame buys
// at the chosen speed (each worth one calibrated Delay), and the canvas gets
// what changed. The pacer bounds a frame's work so that the browser keeps time
// to draw: a show that needs more runs slower than real time (the status says
// "behind") rather than stalling the page.
const STATS_WINDOW_MS = 1000;

export class Player {
  constructor(engine, canvas, onState) {
    this.engine = engine;
    this.canvas = canvas;
    this.context = canvas.getContext('2d', { alpha: false });
    this.onState = onState;
    this.state = 'empty'; // empty | running | paused | ended | not-loaded
    this.behind = false;
    this.samples = [];
    requestAnimationFrame((time) => this.tick(time));
  }

  // A loaded show starts at once on a black canvas of its size.
  start(width, height, loaded) {
    this.canvas.width = width;
    this.canvas.height = height;
    this.context.fillStyle = '#000';
    this.context.fillRect(0, 0, width, height);
    this.samples = [];
    this.behind = false;
    this.setState(loaded ? (this.state === 'paused' ? 'paused' : 'running') : 'not-loaded');
  }

  setState(state) {
    this.state = state;
    this.engine.setPaused(state === 'paused');
    this.onState(state);
  }

  toggle() {
    if (this.state === 'running') this.setState('paused');
    else if (this.state === 'paused') this.setState('running');
  }

  tick(time) {
    requestAnimationFrame((next) => this.tick(next));
    if (this.state !== 'running' && this.state !== 'paused') return;
    // Paused, the frame only takes the time: the show resumes where it stood.
    const frame = this.engine.frame();
    if (this.state === 'paused') return;
    this.behind = frame.behind;
    this.present();
    this.samples.push({ time, turns: frame.turns });
    while (this.samples.length > 0 && this.samples[0].time < time - STATS_WINDOW_MS) this.samples.shift();
    if (frame.ended) this.setState('ended');
  }

  present() {
    const changes = this.engine.takeChanges(this.canvas.width, this.canvas.height);
    if (changes) {
      this.context.putImageData(changes.image, 0, 0, changes.left, changes.top, changes.width, changes.height);
    }
  }

  // Frames and turns per second over the last second.
  stats() {
    const count = this.samples.length;
    let fps = 0;
    let turnsPerSecond = 0;
    if (count >= 2) {
      const span = (this.samples[count - 1].time - this.samples[0].time) / 1000;
      fps = (count - 1) / span;
      const turns = this.samples.slice(1).reduce((sum, sample) => sum + sample.turns, 0);
      turnsPerSecond = turns / span;
    }
    return { fps, turnsPerSecond, behind: this.behind, state: this.state, showSeconds: this.engine.showSeconds() };
  }
}
