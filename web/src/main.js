// The playground: the two editors, the notes, the canvas and the controls, and
// window.zirvo, the contract for tests and embedders (web/README.md).
import { Engine } from './engine.js';
import { FileEditor } from './editors.js';
import { ScenePicker } from './gallery.js';
import { MAX_SPEED_STEPS, parseScreen, parseSeed, readFragment, shareFragment } from './fragment.js';
import { Player } from './player.js';
import { CanvasRecording, canRecord } from './recorder.js';
import { defaultSettings, library, samples } from './samples.js';

const RELOAD_AFTER_TYPING_MS = 250;

const $ = (id) => document.getElementById(id);

function randomSeed() {
  return crypto.getRandomValues(new Uint32Array(1))[0];
}

class Playground {
  constructor(engine) {
    this.engine = engine;
    this.seed = 1;
    this.screen = { width: 1024, height: 768 };
    this.speed = 0;
    this.shows = 0;
    this.reloadTimer = null;
    this.recording = null;
    this.scene = new FileEditor($('scene-editor'), {
      text: samples.demo, label: 'scene file', onChange: () => this.reloadSoon(),
    });
    this.settings = new FileEditor($('settings-editor'), {
      text: defaultSettings, label: 'settings file', onChange: () => this.reloadSoon(),
    });
    this.player = new Player(engine, $('screen'), (state) => this.showState(state));
    this.wireControls();
    setInterval(() => this.showStats(), 500);
  }

  wireControls() {
    for (const name of Object.keys(samples)) $('sample').add(new Option(name, name));
    $('sample').addEventListener('change', () => {
      if ($('sample').value) this.scene.text = samples[$('sample').value];
      $('sample').value = '';
    });
    // The gallery: a chosen scene goes into the editor and runs at once.
    new ScenePicker($('gallery'), $('open-gallery'), library, (scene) => {
      this.quietly(() => {
        this.scene.text = scene.text;
      });
      this.reload();
    });
    $('run').addEventListener('click', () => this.player.toggle());
    $('restart').addEventListener('click', () => this.reload());
    $('ended-restart').addEventListener('click', () => this.reload());
    for (let steps = -MAX_SPEED_STEPS; steps <= MAX_SPEED_STEPS; steps++) {
      const factor = this.engine.speedOfSteps(steps);
      $('speed').add(new Option(`× ${factor >= 10 ? factor.toFixed(0) : factor.toPrecision(2)}`, String(steps)));
    }
    $('speed').addEventListener('change', () => this.setSpeed(Number($('speed').value)));
    $('seed').addEventListener('change', () => {
      const seed = parseSeed($('seed').value);
      if (seed === null) $('seed').value = String(this.seed);
      else this.seed = seed;
      this.reload();
    });
    $('new-seed').addEventListener('click', () => {
      this.seed = randomSeed();
      this.reload();
    });
    $('screen-size').addEventListener('change', () => {
      const screen = parseScreen($('screen-size').value);
      if (screen) this.screen = screen;
      this.reload();
    });
    $('save').addEventListener('click', () => this.savePng());
    $('save-video').disabled = !canRecord();
    $('save-video').addEventListener('click', () => this.saveVideo());
    $('share').addEventListener('click', () => this.share());
    window.addEventListener('hashchange', () => this.openFragment(location.hash));
  }

  setSpeed(steps) {
    this.speed = steps;
    $('speed').value = String(steps);
    this.engine.setSpeedSteps(steps);
  }

  // Opens what the fragment names; what it leaves out keeps its default.
  async openFragment(hash) {
    const wanted = await readFragment(hash);
    this.linkProblems = wanted.problems;
    this.seed = wanted.seed ?? randomSeed();
    this.screen = wanted.screen ?? { width: 1024, height: 768 };
    this.speed = wanted.speed ?? 0;
    this.quietly(() => {
      if (wanted.scene) this.scene.bytes = wanted.scene;
      else this.scene.text = samples.demo;
      if (wanted.settings) this.settings.bytes = wanted.settings;
      else this.settings.text = defaultSettings;
    });
    this.reload();
  }

  // Changes the editors without the reload that typing asks for.
  quietly(change) {
    change();
    clearTimeout(this.reloadTimer);
  }

  reloadSoon() {
    clearTimeout(this.reloadTimer);
    this.reloadTimer = setTimeout(() => this.reload(), RELOAD_AFTER_TYPING_MS);
  }

  // A fresh show of the editors' texts: the notes, then the show or why not.
  reload() {
    clearTimeout(this.reloadTimer);
    $('seed').value = String(this.seed);
    $('screen-size').value = `${this.screen.width}x${this.screen.height}`;
    const { loaded, notes } = this.engine.loadShow({
      scene: this.scene.bytes, settings: this.settings.bytes, ...this.screen, seed: this.seed,
    });
    this.shows += 1;
    this.setSpeed(this.speed);
    this.showNotes(notes);
    this.player.start(this.screen.width, this.screen.height, loaded);
    $('failure').hidden = loaded;
    if (!loaded) {
      const error = notes.find((note) => note.severity === 'error');
      $('failure-reason').textContent = error ? error.shown.split('\n')[0] : 'The scene does not load.';
      $('banner').textContent = this.engine.banner();
    }
  }

  showNotes(notes) {
    this.scene.showNotes(notes.filter((note) => note.file === 'scene.zrv'));
    this.settings.showNotes(notes.filter((note) => note.file === 'zirvo.ini'));
    const list = $('notes');
    list.replaceChildren();
    for (const problem of this.linkProblems ?? []) {
      const item = document.createElement('li');
      item.className = 'error';
      item.textContent = problem;
      list.append(item);
    }
    for (const note of notes) {
      const item = document.createElement('li');
      item.className = note.severity;
      item.dataset.file = note.file;
      item.dataset.line = String(note.line);
      const text = document.createElement('pre');
      text.textContent = note.shown;
      item.append(text);
      const editor = note.file === 'zirvo.ini' ? this.settings : note.file === 'scene.zrv' ? this.scene : null;
      if (editor && note.line > 0) item.addEventListener('click', () => editor.goToLine(note.line));
      list.append(item);
    }
    const count = (severity, word) => {
      const n = notes.filter((note) => note.severity === severity).length;
      return n === 0 ? [] : [`${n} ${word}${n === 1 ? '' : 's'}`];
    };
    const counts = [...count('error', 'error'), ...count('warning', 'warning'), ...count('note', 'note')];
    $('notes-summary').textContent = counts.length === 0 ? 'no notes' : counts.join(', ');
  }

  showState(state) {
    $('run').textContent = state === 'paused' ? 'Run' : 'Pause';
    $('run').disabled = state !== 'running' && state !== 'paused';
    document.body.dataset.state = state;
    $('ended').hidden = state !== 'ended';
    this.showStats();
  }

  showStats() {
    const stats = this.player.stats();
    const words = { running: 'running', paused: 'paused', ended: 'ended: the show is over', 'not-loaded': 'the scene does not load', empty: '' };
    let text = words[stats.state];
    if (stats.state !== 'not-loaded') text += ` · ${stats.showSeconds.toFixed(1)} s`;
    if (stats.state === 'running') {
      text += ` · ${stats.fps.toFixed(0)} fps · ${Math.round(stats.turnsPerSecond)} turns/s`;
      if (stats.behind) text += ' · behind: this machine cannot keep up at this speed';
    }
    $('status').textContent = text;
  }

  savePng() {
    this.player.canvas.toBlob((blob) => this.download(blob, `zirvo-${this.seed}.png`), 'image/png');
  }

  // Records the chosen seconds of the canvas; a second click stops early.
  async saveVideo() {
    if (this.recording) {
      this.recording.stop();
      return;
    }
    const seconds = Math.min(600, Math.max(1, Math.round(Number($('video-seconds').value) || 10)));
    $('video-seconds').value = String(seconds);
    const button = $('save-video');
    this.recording = new CanvasRecording(this.player.canvas, seconds, (left) => {
      button.textContent = `Stop (${Math.ceil(left)} s)`;
    });
    const seed = this.seed;
    try {
      const blob = await this.recording.blob();
      this.download(blob, `zirvo-${seed}.webm`);
    } catch (error) {
      $('share-note').textContent = `the video could not be recorded: ${error.message}`;
    } finally {
      this.recording = null;
      button.textContent = 'Save video';
    }
  }

  download(blob, name) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = name;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
  }

  async share() {
    const fragment = await shareFragment({
      scene: this.scene.bytes, settings: this.settings.bytes, seed: this.seed, screen: this.screen, speed: this.speed,
    });
    const link = `${location.origin}${location.pathname}${fragment}`;
    history.replaceState(null, '', fragment);
    $('share-link').value = link;
    $('share-link').hidden = false;
    $('share-link').select();
    try {
      await navigator.clipboard.writeText(link);
      $('share-note').textContent = 'copied';
    } catch {
      $('share-note').textContent = 'copy the link above';
    }
  }

  // window.zirvo.trace: zirvo-render's trace of a fresh show of the editors' texts.
  trace(seconds, maxLines) {
    if (!(seconds > 0)) throw new RangeError('seconds must be above 0');
    if (!(maxLines >= 1)) throw new RangeError('maxLines must be at least 1');
    return this.engine.trace({
      scene: this.scene.bytes, settings: this.settings.bytes, ...this.screen, seed: this.seed, seconds, maxLines,
    });
  }
}

async function start() {
  const engine = await Engine.load('zirvo.wasm');
  const playground = new Playground(engine);
  await playground.openFragment(location.hash);
  return playground;
}

window.zirvo = {
  ready: start().then((playground) => {
    window.zirvo.trace = (seconds, maxLines) => playground.trace(seconds, maxLines);
    window.zirvo.stats = () => ({ ...playground.player.stats(), shows: playground.shows });
  }),
  trace: () => {
    throw new Error('window.zirvo.ready has not resolved yet');
  },
  stats: () => null,
};
window.zirvo.ready.catch((error) => {
  $('failure').hidden = false;
  $('failure-reason').textContent = `The engine could not be started: ${error.message}`;
});
