// The menu bar, drawn from the model's menu table: each menu of the bar with its items in the
// model's order, so a new item is a new row of that table and nothing here. An ARIA menu bar:
// Alt and a menu's access key open it (F10 reaches the bar), the arrows walk, Enter or Space or an
// item's access key runs it, Escape goes back to the window.
import {parseAccessKey, showCaption} from './access_keys.js';
import {SECOND_SHORTCUTS} from './keys.js';

export class MenuBar {
  // `onCommand(item)`: an enabled item was chosen (item: its entry of the layout's menu table).
  // `onClose()`: the menus closed and the keyboard goes back to the window.
  constructor(bar, layout, onCommand, onClose) {
    this.bar = bar;
    this.onCommand = onCommand;
    this.onClose = onClose;
    this.menus = [];  // {title, popup, items: [{entry, element}]}
    this.entries = layout.menus;
    this.elements = [];  // per entry of the table
    let current = null;
    layout.menus.forEach((entry, i) => {
      if (entry.bar) {
        const title = document.createElement('button');
        title.type = 'button';
        title.className = 'menu-title';
        title.setAttribute('role', 'menuitem');
        title.setAttribute('aria-haspopup', 'menu');
        title.setAttribute('aria-expanded', 'false');
        title.tabIndex = this.menus.length === 0 ? 0 : -1;
        title.dataset.name = entry.name;
        const popup = document.createElement('div');
        popup.className = 'menu';
        popup.setAttribute('role', 'menu');
        popup.id = `menu-${entry.name}`;
        popup.hidden = true;
        title.id = `menu-title-${entry.name}`;
        title.setAttribute('aria-controls', popup.id);
        popup.setAttribute('aria-labelledby', title.id);
        current = {title, popup, items: [], index: this.menus.length};
        this.menus.push(current);
        const menu = current;
        title.addEventListener('click', () => (menu.popup.hidden ? this.open(menu, 0) : this.close()));
        title.addEventListener('keydown', (e) => this.onTitleKey(e, menu));
        // As in the ARIA practices' menu bar: the title and its menu side by side in an item
        // that is nothing itself.
        const slot = document.createElement('div');
        slot.className = 'menu-slot';
        slot.setAttribute('role', 'none');
        slot.append(title, popup);
        bar.append(slot);
        this.elements[i] = title;
        return;
      }
      const item = document.createElement('div');
      item.dataset.name = entry.name;
      if (entry.separator) {
        item.className = 'menu-separator';
        item.setAttribute('role', 'separator');
      } else {
        item.className = 'menu-item';
        item.setAttribute('role', entry.checkable ? 'menuitemcheckbox' : 'menuitem');
        item.tabIndex = -1;
        if (entry.picksFile) item.dataset.picksFile = '';
        if (entry.editsSettings) item.dataset.editsSettings = '';
        item.append(document.createElement('span'));
        if (entry.shortcut) {
          const second = SECOND_SHORTCUTS[entry.shortcut];
          const keys = document.createElement('span');
          keys.className = 'shortcut';
          keys.textContent = `Ctrl+${entry.shortcut}` + (second ? `, ${second.label}` : '');
          item.append(keys);
          item.setAttribute('aria-keyshortcuts',
              `Control+${entry.shortcut}` + (second ? ` ${second.aria}` : ''));
        }
        const menu = current;
        item.addEventListener('click', () => this.choose(menu, entry, item));
        item.addEventListener('keydown', (e) => this.onItemKey(e, menu));
        current.items.push({entry, element: item});
      }
      current.popup.append(item);
      this.elements[i] = item;
    });
    // A press anywhere else closes an open menu.
    document.addEventListener('pointerdown', (e) => {
      if (this.isOpen() && !bar.contains(e.target)) this.close();
    }, true);
  }

  isOpen() {
    return this.menus.some((m) => !m.popup.hidden);
  }

  // The menu bar or one of its menus has the keyboard.
  hasFocus() {
    return this.bar.contains(document.activeElement);
  }

  update(state) {
    state.menus.forEach((st, i) => {
      const e = this.elements[i];
      const entry = this.entries[i];
      if (entry.separator) {
        e.dataset.caption = st.caption;
        return;
      }
      const label = entry.bar ? e : e.firstChild;
      if (label.dataset.caption !== st.caption) {
        label.dataset.caption = st.caption;
        showCaption(label, st.caption);
        e.dataset.accessKey = parseAccessKey(st.caption).key.toUpperCase();
      }
      if (entry.bar) return;
      e.dataset.caption = st.caption;
      e.setAttribute('aria-disabled', String(!st.enabled));
      if (entry.checkable) e.setAttribute('aria-checked', String(st.checked));
    });
  }

  // Opens `menu` with the keyboard on its item `at` (-1: the last), or on the bar alone.
  open(menu, at = 0) {
    for (const m of this.menus) {
      const mine = m === menu;
      m.popup.hidden = !mine;
      m.title.setAttribute('aria-expanded', String(mine));
      m.title.tabIndex = mine ? 0 : -1;
    }
    const items = menu.items;
    const target = items.length ? items[at < 0 ? items.length - 1 : Math.min(at, items.length - 1)]
        .element : menu.title;
    target.focus();
  }

  // Opens the menu whose access key is `letter` (Alt with the letter); false when none has it.
  openByAccessKey(letter) {
    const menu = this.menus.find((m) => m.title.dataset.accessKey === letter);
    if (!menu) return false;
    this.open(menu, 0);
    return true;
  }

  // The bar takes the keyboard with no menu open (F10).
  focusBar() {
    this.menus[0].title.focus();
  }

  close() {
    for (const m of this.menus) {
      m.popup.hidden = true;
      m.title.setAttribute('aria-expanded', 'false');
    }
    this.onClose();
  }

  choose(menu, entry, element) {
    if (element.getAttribute('aria-disabled') === 'true') return;
    this.close();
    this.onCommand(entry);
  }

  neighbour(menu, step) {
    return this.menus[(menu.index + step + this.menus.length) % this.menus.length];
  }

  onTitleKey(e, menu) {
    const open = !menu.popup.hidden;
    if (open) return;  // the open menu's items have the keyboard
    const keys = {
      ArrowLeft: () => this.neighbour(menu, -1).title.focus(),
      ArrowRight: () => this.neighbour(menu, 1).title.focus(),
      ArrowDown: () => this.open(menu, 0),
      ArrowUp: () => this.open(menu, -1),
      Enter: () => this.open(menu, 0),
      ' ': () => this.open(menu, 0),
      Escape: () => this.close(),
      Tab: () => this.close(),
    };
    const act = keys[e.key];
    if (act) {
      e.preventDefault();
      e.stopPropagation();
      act();
      return;
    }
    const letter = e.code.startsWith('Key') ? e.code.slice(3) : '';
    if (letter && this.openByAccessKey(letter)) {
      e.preventDefault();
      e.stopPropagation();
    }
  }

  onItemKey(e, menu) {
    const items = menu.items;
    const at = items.findIndex((it) => it.element === document.activeElement);
    const move = (to) => items[(to + items.length) % items.length].element.focus();
    const keys = {
      ArrowDown: () => move(at + 1),
      ArrowUp: () => move(at - 1),
      Home: () => move(0),
      End: () => move(items.length - 1),
      ArrowRight: () => this.open(this.neighbour(menu, 1), 0),
      ArrowLeft: () => this.open(this.neighbour(menu, -1), 0),
      Enter: () => at >= 0 && this.choose(menu, items[at].entry, items[at].element),
      ' ': () => at >= 0 && this.choose(menu, items[at].entry, items[at].element),
      Escape: () => this.close(),
      Tab: () => this.close(),
    };
    const act = keys[e.key];
    if (act) {
      e.preventDefault();
      e.stopPropagation();
      act();
      return;
    }
    // An item's access key runs it; Alt with a menu's opens that menu.
    const letter = e.code.startsWith('Key') ? e.code.slice(3) : '';
    if (!letter) return;
    e.preventDefault();
    e.stopPropagation();
    if (e.altKey) {
      this.openByAccessKey(letter);
      return;
    }
    const hit = items.find((it) => it.element.dataset.accessKey === letter);
    if (hit) this.choose(menu, hit.entry, hit.element);
  }
}
