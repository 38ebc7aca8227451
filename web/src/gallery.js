// The scene picker: a dialog of every sample scene as its thumbnail, name and
// sentence. Choosing one hands it to `onPick` and closes the dialog.
export class ScenePicker {
  // `dialog` is a <dialog> element, `opener` the button that shows it.
  constructor(dialog, opener, scenes, onPick) {
    this.dialog = dialog;
    const grid = dialog.querySelector('.scenes');
    for (const scene of scenes) {
      const card = document.createElement('button');
      card.type = 'button';
      card.className = 'scene';
      card.dataset.scene = scene.stem;
      card.title = `Open ${scene.file} in the editor and run it`;
      const picture = document.createElement('img');
      picture.src = scene.thumbnail;
      picture.alt = '';
      picture.width = 320;
      picture.height = 240;
      const name = document.createElement('strong');
      name.textContent = scene.name;
      const sentence = document.createElement('span');
      sentence.textContent = scene.sentence.charAt(0).toUpperCase() + scene.sentence.slice(1);
      card.append(picture, name, sentence);
      card.addEventListener('click', () => {
        this.dialog.close();
        onPick(scene);
      });
      grid.append(card);
    }
    opener.addEventListener('click', () => this.dialog.showModal());
    dialog.querySelector('.close').addEventListener('click', () => this.dialog.close());
    // A click on the backdrop closes it too.
    dialog.addEventListener('click', (event) => {
      if (event.target === dialog) dialog.close();
    });
  }
}
