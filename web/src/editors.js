// The two text editors (scene and settings): CodeMirror with line numbers,
// undo, and the loader's notes shown on their lines. An editor holds a file:
// its bytes are the text as UTF-8, or as Latin-1 for a file given in it.
import { EditorState } from '@codemirror/state';
import {
  EditorView, drawSelection, highlightActiveLine, highlightActiveLineGutter, highlightSpecialChars,
  keymap, lineNumbers,
} from '@codemirror/view';
import { defaultKeymap, history, historyKeymap, indentWithTab } from '@codemirror/commands';
import { lintGutter, setDiagnostics } from '@codemirror/lint';
import { bytesToText, textToBytes } from './bytes.js';

const severities = { error: 'error', warning: 'warning', note: 'info' };

const theme = EditorView.theme({
  '.cm-activeLine': { backgroundColor: '#ffffff0a' },
  '.cm-activeLineGutter': { backgroundColor: '#ffffff10' },
  '&.cm-focused .cm-cursor': { borderLeftColor: '#d7dae0' },
  '.cm-selectionBackground, &.cm-focused .cm-selectionBackground': { backgroundColor: '#3a4a6b !important' },
}, { dark: true });

export class FileEditor {
  // `onChange` is called after every change of the text.
  constructor(parent, { text, label, onChange }) {
    this.latin1 = false;
    this.view = new EditorView({
      parent,
      state: EditorState.create({
        doc: text,
        extensions: [
          // Only a line feed ends a line, as for the loader: a carriage return
          // stays in the text, so line numbers and bytes are the file's.
          EditorState.lineSeparator.of('\n'),
          lineNumbers(),
          highlightActiveLineGutter(),
          highlightSpecialChars(),
          history(),
          drawSelection(),
          highlightActiveLine(),
          lintGutter(),
          EditorView.lineWrapping,
          theme,
          keymap.of([...defaultKeymap, ...historyKeymap, indentWithTab]),
          EditorView.contentAttributes.of({ 'aria-label': label, spellcheck: 'false' }),
          EditorView.updateListener.of((update) => {
            if (update.docChanged) onChange();
          }),
        ],
      }),
    });
  }

  get text() {
    return this.view.state.doc.toString();
  }

  // New text, a UTF-8 file from now on.
  set text(text) {
    this.latin1 = false;
    this.view.dispatch({ changes: { from: 0, to: this.view.state.doc.length, insert: text } });
  }

  get bytes() {
    return textToBytes(this.text, this.latin1);
  }

  set bytes(bytes) {
    const { text, latin1 } = bytesToText(bytes);
    this.text = text;
    this.latin1 = latin1;
  }

  // The notes about this file, each on its line (a note about no line: the first).
  showNotes(notes) {
    const doc = this.view.state.doc;
    const diagnostics = notes.map((note) => {
      const line = doc.line(Math.min(Math.max(note.line, 1), doc.lines));
      return { from: line.from, to: line.to, severity: severities[note.severity] ?? 'info', message: note.message };
    });
    this.view.dispatch(setDiagnostics(this.view.state, diagnostics));
  }

  // Puts the cursor at the start of a line and shows it.
  goToLine(number) {
    const doc = this.view.state.doc;
    const line = doc.line(Math.min(Math.max(number, 1), doc.lines));
    this.view.dispatch({ selection: { anchor: line.from }, scrollIntoView: true });
    this.view.focus();
  }
}
