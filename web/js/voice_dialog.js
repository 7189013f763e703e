// The voice dialog, shown while the model has it open: the Japanese and the English voices in two
// lists (each a listbox named after the label above it), OK (also Enter) and Cancel (also
// Escape and the close box). Choosing an item tells the core at once, as the desktop's list does.

export class VoiceDialogView {
  // `core`: dialogSelect, dialogOk, dialogCancel; `run(f)` runs an event and redraws.
  constructor(dialog, modals, core, run) {
    this.dialog = dialog;
    this.modals = modals;
    this.lists = [...dialog.querySelectorAll('.voice-list')];
    this.shown = ['', ''];
    this.open = false;
    const ok = () => run(() => core.dialogOk());
    const cancel = () => run(() => core.dialogCancel());
    this.cancel = cancel;
    for (const b of dialog.querySelectorAll('[data-action="ok"]')) b.addEventListener('click', ok);
    for (const b of dialog.querySelectorAll('[data-action="cancel"]')) {
      b.addEventListener('click', cancel);
    }
    this.lists.forEach((list, i) => {
      const select = (pos) => run(() => core.dialogSelect(i + 1, pos));
      list.addEventListener('click', (e) => {
        const option = e.target.closest('[role="option"]');
        if (option) select(Number(option.dataset.pos));
      });
      list.addEventListener('keydown', (e) => {
        const count = list.children.length;
        const at = Number(list.dataset.selected);
        const to = {
          ArrowDown: Math.min(at + 1, count - 1), ArrowUp: Math.max(at - 1, 0),
          Home: 0, End: count - 1, PageDown: Math.min(at + 8, count - 1),
          PageUp: Math.max(at - 8, 0),
        }[e.key];
        if (to !== undefined) {
          e.preventDefault();
          if (count > 0 && to !== at) select(at < 0 && e.key === 'ArrowDown' ? 0 : to);
        } else if (e.key === 'Enter') {
          e.preventDefault();
          ok();  // OK is the dialog's default button
        }
      });
    });
  }

  update(state) {
    const {open, lists} = state.dialog;
    lists.forEach((st, i) => this.fill(this.lists[i], st, i));
    if (open && !this.open) {
      this.open = true;
      this.modals.show(this.dialog, {focus: this.lists[0], onCancel: this.cancel, byCore: true});
    } else if (!open && this.open) {
      this.open = false;
      this.modals.close(this.dialog);
    }
  }

  fill(list, st, i) {
    const key = JSON.stringify(st.items);
    if (this.shown[i] !== key) {
      this.shown[i] = key;
      list.replaceChildren(...st.items.map((text, pos) => {
        const option = document.createElement('div');
        option.className = 'voice-option';
        option.setAttribute('role', 'option');
        option.id = `voice-${i + 1}-${pos}`;
        option.dataset.pos = String(pos);
        option.textContent = text;
        return option;
      }));
    }
    list.dataset.selected = String(st.selected);
    for (const option of list.children) {
      option.setAttribute('aria-selected', String(Number(option.dataset.pos) === st.selected));
    }
    const chosen = list.children[st.selected];
    if (chosen) {
      list.setAttribute('aria-activedescendant', chosen.id);
      chosen.scrollIntoView({block: 'nearest'});
    } else {
      list.removeAttribute('aria-activedescendant');
    }
  }
}
