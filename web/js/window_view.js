// The main window's client area: one element per control of the window model at its designed
// place and font, mirrored from the model after every event. The model decides where the focus
// is: the page moves the browser's focus after it, never the other way round.
import {showCaption} from './access_keys.js';

export class WindowView {
  // `onClick(name)`: a button was clicked, tapped or activated by assistive technology.
  constructor(client, layout, onClick) {
    this.client = client;
    this.layout = layout;
    this.elements = [];
    this.shown = [];
    this.focusName = null;
    client.setAttribute('aria-label', layout.title);
    for (const c of layout.controls) {
      const e = document.createElement(c.button ? 'button' : 'p');
      e.className = `ctl ${c.look}`;
      e.dataset.name = c.name;
      if (c.word) e.dataset.word = '';
      e.id = `control-${c.name}`;
      const [left, top, width, height] = c.place;
      Object.assign(e.style, {
        left: `${left}px`, top: `${top}px`, width: `${width}px`, height: `${height}px`,
        fontSize: `${c.font}px`, fontWeight: c.bold ? 'bold' : 'normal',
      });
      if (c.look.includes('grows')) {
        // Grows to the right as far as the window goes, never narrower than designed.
        e.style.minWidth = `${width}px`;
        e.style.maxWidth = `${layout.client[0] - 4 - left}px`;
      }
      if (c.button) {
        e.type = 'button';
        e.tabIndex = -1;
        // The model gives the focus (the click's handler does, first); the browser's own focus
        // on pressing would run ahead of it.
        e.addEventListener('mousedown', (ev) => ev.preventDefault());
        e.addEventListener('click', () => onClick(c.name));
      }
      e.hidden = true;
      client.append(e);
      this.elements.push(e);
      this.shown.push(null);
    }
  }

  element(name) {
    return this.elements.find((e) => e.dataset.name === name) ?? null;
  }

  // Mirrors captions, visibility and enabled state, and with `takeFocus` (no box or dialog in
  // front) gives the browser's focus where the model has it. What shows is shown first and what
  // goes is hidden last, after the focus has moved: the browser would otherwise drop the focus
  // of a hidden button, and assistive technology would announce the page instead.
  update(state, takeFocus) {
    this.focusName = state.focus;
    const hiding = [];
    state.controls.forEach((st, i) => {
      const e = this.elements[i];
      if (this.shown[i] !== st.caption) {
        this.shown[i] = st.caption;
        e.dataset.caption = st.caption;
        showCaption(e, st.caption);
      }
      if (st.visible) e.hidden = false;
      else if (!e.hidden) hiding.push(e);
      if (!this.layout.controls[i].button) return;
      e.disabled = !st.enabled;
      const focused = e.dataset.name === state.focus;
      e.classList.toggle('focused', focused);
      e.tabIndex = focused ? 0 : -1;
    });
    if (takeFocus) this.placeFocus();
    for (const e of hiding) e.hidden = true;
  }

  // Gives the browser's focus to the control the model has focused, or to the window's named
  // area when none has it (where assistive technology finds the learner then).
  placeFocus() {
    const target = (this.focusName && this.element(this.focusName)) || this.client;
    if (document.activeElement !== target) target.focus({preventScroll: true});
  }
}

// Scales the window to the screen, whole and centred.
export function fitToScreen(windowElement) {
  const width = 768;
  const height = windowElement.offsetHeight;
  const scale = Math.min(innerWidth / width, innerHeight / height);
  const root = document.documentElement.style;
  root.setProperty('--scale', String(scale));
  root.setProperty('--left', `${Math.max(0, (innerWidth - width * scale) / 2)}px`);
  root.setProperty('--top', `${Math.max(0, (innerHeight - height * scale) / 2)}px`);
}
