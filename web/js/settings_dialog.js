// The settings dialog: what each learner sets once (settings.ini), as the desktop's dialog offers
// it. It opens on the values the core holds (settings.ini's lines, from the model), and OK hands
// the core the fields as settings.ini lines, which it checks, applies and saves as it does the
// desktop dialog's. The page's zoom is the browser's own, so zoom is left as it is. The results
// record, kept in the browser's storage, can be downloaded from here.

// settings.ini's lines as {key: value}.
export function parseSettingsText(text) {
  const values = {};
  for (const line of text.split(/\r?\n/)) {
    const at = line.indexOf('=');
    if (at > 0) values[line.slice(0, at).trim()] = line.slice(at + 1).trim();
  }
  return values;
}

export class SettingsDialogView {
  // `apply(text)`: OK, with the fields as settings.ini lines; `cancel()`; `readFile(name)`: the
  // bytes of a file in the drill's folder, or null.
  constructor(dialog, modals, {apply, cancel, readFile}) {
    this.dialog = dialog;
    this.modals = modals;
    this.form = dialog.querySelector('form');
    this.readFile = readFile;
    this.results = '';
    const close = (then) => {
      this.modals.close(dialog);
      then();
    };
    this.cancel = () => close(cancel);
    for (const b of dialog.querySelectorAll('[data-action="cancel"]')) {
      b.addEventListener('click', this.cancel);
    }
    dialog.querySelector('[data-action="ok"]').addEventListener('click', () =>
      close(() => apply(this.text())));
    this.form.addEventListener('keydown', (e) => {
      if (e.key === 'Enter' && e.target.tagName !== 'BUTTON') {
        e.preventDefault();
        close(() => apply(this.text()));
      }
    });
    this.download = dialog.querySelector('[data-action="download"]');
    this.download.addEventListener('click', () => this.downloadResults());
  }

  // Opens on the values of settings.ini's lines `text`.
  show(text) {
    const values = parseSettingsText(text);
    for (const field of this.form.elements) {
      if (!field.name || !(field.name in values)) continue;
      if (field.type === 'checkbox') field.checked = values[field.name] === '1';
      else field.value = values[field.name];
    }
    this.results = values.results ?? '';
    this.download.disabled = !this.results || !this.readFile(this.results);
    this.modals.show(this.dialog, {onCancel: this.cancel});
  }

  // The fields as settings.ini lines.
  text() {
    return [...this.form.elements].filter((f) => f.name).map((f) =>
      `${f.name}=${f.type === 'checkbox' ? (f.checked ? '1' : '0') : f.value.trim()}\n`).join('');
  }

  downloadResults() {
    const bytes = this.results && this.readFile(this.results);
    if (!bytes) return;
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], {type: 'text/csv'}));
    link.download = this.results;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  }
}
