// The sample scenes of scenes/ and the shipped settings, built into the page.
import demo from '../../scenes/demo.zrv';
import garden from '../../scenes/garden.zrv';
import vortex from '../../scenes/vortex.zrv';
import settings from '../../scenes/zirvo.ini';

export const samples = { demo, garden, vortex };
export const defaultSettings = settings;
