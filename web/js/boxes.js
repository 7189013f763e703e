// The boxes and screens of the page: message and error boxes (with the application's title and
// one OK button), the help, the start screen that waits for the first key or touch, and the
// screen shown once the drill has ended.

// Message texts break their lines with CR, as the classic boxes did.
function boxText(text) {
  return text.replace(/\r\n?/g, '\n');
}

export class Boxes {
  constructor(modals, title, speech) {
    this.modals = modals;
    this.title = title;
    this.speech = speech;
    this.count = 0;
    this.helpLoaded = null;
  }

  // A modal box; what the program says after it waits until it is closed.
  message(text, error) {
    this.speech.hold('box');
    this.modals.enqueue(() => this.open(text, error));
  }

  open(text, error) {
    const n = ++this.count;
    const dialog = document.createElement('dialog');
    dialog.className = 'box';
    dialog.setAttribute('role', 'alertdialog');
    dialog.setAttribute('aria-labelledby', `box-title-${n}`);
    dialog.setAttribute('aria-describedby', `box-text-${n}`);
    const head = document.createElement('div');
    head.className = 'box-title';
    head.id = `box-title-${n}`;
    head.textContent = this.title;
    const body = document.createElement('p');
    body.className = error ? 'box-text error' : 'box-text';
    body.id = `box-text-${n}`;
    body.textContent = boxText(text);
    const buttons = document.createElement('div');
    buttons.className = 'box-buttons';
    const ok = document.createElement('button');
    ok.type = 'button';
    ok.textContent = 'OK';
    buttons.append(ok);
    dialog.append(head, body, buttons);
    document.getElementById('boxes').append(dialog);
    const close = () => {
      this.modals.close(dialog);
      dialog.remove();
      if (!this.modals.blocksWindow()) this.speech.release('box');
    };
    ok.addEventListener('click', close);
    this.modals.show(dialog, {focus: ok, onCancel: close});
  }

  // The help file beside the program, under its name; the page shows it with what differs in a
  // browser above it.
  async help(path, onClosed) {
    const dialog = document.getElementById('help-dialog');
    const content = dialog.querySelector('.help-content');
    const name = path.slice(path.lastIndexOf('/') + 1);
    this.helpLoaded ??= fetch(name)
        .then((r) => (r.ok ? r.text() : Promise.reject(new Error(r.statusText))))
        .then((html) => {
          const doc = new DOMParser().parseFromString(html, 'text/html');
          for (const h of doc.body.querySelectorAll('h1')) h.outerHTML = `<h2>${h.innerHTML}</h2>`;
          content.replaceChildren(...doc.body.childNodes);
        })
        .catch(() => { content.textContent = `ヘルプファイル ${name} を読めません。`; });
    if (!dialog.dataset.wired) {
      dialog.dataset.wired = '1';
      for (const b of dialog.querySelectorAll('[data-action="close"]')) {
        b.addEventListener('click', () => {
          this.modals.close(dialog);
          dialog.onClosed?.();
        });
      }
    }
    dialog.onClosed = onClosed;
    this.modals.show(dialog, {
      focus: dialog.querySelector('.help-body'),
      onCancel: () => {
        this.modals.close(dialog);
        onClosed();
      },
    });
    await this.helpLoaded;
  }

  // Waits for the first key or touch: the browser lets the page make no sound before it.
  startScreen() {
    const dialog = document.getElementById('start-screen');
    return new Promise((resolve) => {
      const go = (e) => {
        if (e.type === 'keydown' && ['Shift', 'Control', 'Alt', 'Meta'].includes(e.key)) return;
        e.preventDefault();
        e.stopPropagation();
        dialog.removeEventListener('keydown', go, true);
        dialog.removeEventListener('pointerdown', go, true);
        this.modals.close(dialog);
        resolve();
      };
      dialog.addEventListener('keydown', go, true);
      dialog.addEventListener('pointerdown', go, true);
      dialog.tabIndex = -1;
      this.modals.show(dialog, {focus: dialog, onCancel: () => {}});
    });
  }

  // The program has ended: a screen that says so, and starts it again on request.
  endScreen() {
    this.modals.enqueue(() => {
      const dialog = document.getElementById('end-screen');
      const again = document.getElementById('end-again');
      again.onclick = () => location.reload();
      this.modals.show(dialog, {focus: again, onCancel: () => {}});
    });
    this.modals.flush();
  }
}
