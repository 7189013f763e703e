// The page's modal dialogs: one on top of another, the keyboard kept inside the top one (Tab and
// Shift+Tab go round its controls), Escape answered as its cancel, and the focus handed back to
// whatever had it when the dialog closes. Boxes wait in a queue and come one at a time, once the
// start screen has gone: the core's modal boxes block its handler, the page's cannot, so what a
// handler says after a box is held back until the box is closed (see speech.js).

const FOCUSABLE = 'button:not([disabled]), input:not([disabled]), select:not([disabled]), ' +
    '[tabindex]:not([tabindex="-1"]), a[href]';

export class Modals {
  // `onSettled()`: the last modal closed; the main window takes the keyboard again.
  constructor(onSettled) {
    this.onSettled = onSettled;
    this.stack = [];  // {dialog, onCancel, returnTo}
    this.queue = [];  // waiting boxes: () => opens one
  }

  isOpen() {
    return this.stack.length > 0;
  }

  // True while something in front of the main window blocks it (the voice dialog aside, which
  // the core itself keeps modal).
  blocksWindow() {
    return this.stack.some((m) => !m.byCore);
  }

  top() {
    return this.stack.at(-1)?.dialog ?? null;
  }

  // Shows `dialog` modally. `onCancel`: Escape (or the close box). `byCore`: the core keeps it
  // modal itself (the voice dialog).
  show(dialog, {focus, onCancel, byCore = false} = {}) {
    const returnTo = document.activeElement;
    this.stack.push({dialog, onCancel, returnTo, byCore});
    if (!dialog.open) dialog.showModal();
    if (!dialog.dataset.trapped) {
      dialog.dataset.trapped = '1';
      dialog.addEventListener('keydown', (e) => this.onKey(e, dialog));
      // Escape's own cancel, where the keydown did not get to it first.
      dialog.addEventListener('cancel', (e) => {
        e.preventDefault();
        this.entry(dialog)?.onCancel?.();
      });
    }
    (focus ?? dialog.querySelector(FOCUSABLE) ?? dialog).focus();
  }

  close(dialog) {
    const at = this.stack.findIndex((m) => m.dialog === dialog);
    if (at < 0) return;
    const [closed] = this.stack.splice(at, 1);
    dialog.close();
    if (this.flush()) return;
    if (this.stack.length === 0) {
      this.onSettled();
    } else if (closed.returnTo?.isConnected && this.top().contains(closed.returnTo)) {
      closed.returnTo.focus();
    } else {
      (this.top().querySelector(FOCUSABLE) ?? this.top()).focus();
    }
  }

  // A box to show once those before it have closed and the start screen has gone.
  enqueue(open) {
    this.queue.push(open);
  }

  // Opens the next waiting box when nothing of the page's own stands in front; true if it did.
  flush() {
    if (this.queue.length === 0 || this.blocksWindow()) return false;
    this.queue.shift()();
    return true;
  }

  entry(dialog) {
    return this.stack.find((m) => m.dialog === dialog);
  }

  onKey(e, dialog) {
    if (dialog !== this.top()) return;
    if (e.key === 'Escape') {
      e.preventDefault();
      e.stopPropagation();
      this.entry(dialog)?.onCancel?.();
      return;
    }
    if (e.key !== 'Tab') return;
    const items = [...dialog.querySelectorAll(FOCUSABLE)].filter((el) => el.offsetParent);
    if (items.length === 0) return;
    e.preventDefault();
    e.stopPropagation();
    const at = items.indexOf(document.activeElement);
    const next = e.shiftKey ? (at <= 0 ? items.length - 1 : at - 1) : (at + 1) % items.length;
    items[next].focus();
  }
}
