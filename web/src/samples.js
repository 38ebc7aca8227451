// The scenes of scenes/ and the shipped settings, built into the page. The list
// is the scene library the build reads from the scenes' headers
// (tools/build.mjs): each scene's stem, file, name, sentence, text, and the
// thumbnail rendered for it.
import { scenes } from 'zirvo:scene-library';
import settings from '../../scenes/zirvo.ini';

export const library = scenes;
export const samples = Object.fromEntries(scenes.map((scene) => [scene.stem, scene.text]));
export const defaultSettings = settings;
