// The keys of the main window, as the core names them: Tab, Enter, Space, the arrows, and the
// menu shortcuts Ctrl+R, Ctrl+W, Ctrl+S and Ctrl+E. A browser tab closes on Ctrl+W whatever the page
// does (only an installed app's window or kiosk mode lets the page have it), so the spell-out
// also answers Alt+W, which no browser takes for itself.

const SHIFT = 1;
const CTRL = 2;
const ALT = 4;

const NAMED = {
  Tab: 'Tab', Enter: 'Enter', ' ': 'Space', Spacebar: 'Space',
  ArrowLeft: 'Left', ArrowRight: 'Right', ArrowUp: 'Up', ArrowDown: 'Down',
};
const LETTERS = {KeyR: 'R', KeyW: 'W', KeyS: 'S', KeyE: 'E'};

// Second shortcuts, by the letter of the Ctrl shortcut they stand beside.
export const SECOND_SHORTCUTS = {W: {code: 'KeyW', label: 'Alt+W', aria: 'Alt+W'}};

export function modifiersOf(e) {
  return (e.shiftKey ? SHIFT : 0) | (e.ctrlKey ? CTRL : 0) | (e.altKey ? ALT : 0);
}

// The key stroke the core gets for a key event, or null for a key the main window ignores.
// `repeat`: the browser's automatic repeat of a held key.
export function coreKey(e) {
  const modifiers = modifiersOf(e);
  const repeat = !!e.repeat;
  const named = NAMED[e.key] ?? (e.code === 'Space' ? 'Space' : undefined);
  if (named) return {name: named, modifiers, repeat};
  const letter = LETTERS[e.code];
  if (!letter) return null;
  const second = SECOND_SHORTCUTS[letter];
  if (second && e.code === second.code && modifiers === ALT) {
    return {name: letter, modifiers: CTRL, repeat};
  }
  return modifiers & CTRL ? {name: letter, modifiers, repeat} : null;
}

// The modifier keys held now, as the last key event told (the scan's steps read them).
export class HeldModifiers {
  constructor(target) {
    this.bits = 0;
    const seen = (e) => { this.bits = modifiersOf(e); };
    target.addEventListener('keydown', seen, true);
    target.addEventListener('keyup', seen, true);
    addEventListener('blur', () => { this.bits = 0; });
  }
}
