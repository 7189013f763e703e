// Captions mark their access key with "&", as menu captions do: "&x" shows x underlined, "&&"
// shows one "&", and a later mark just vanishes. Captions set at run time (words and prompts
// from a question file) follow the same rule, as on the desktop.

// The caption as it is shown, split around the underlined character, and that character.
export function parseAccessKey(caption) {
  if (!caption.includes('&')) return {before: caption, key: '', after: ''};
  let before = '';
  let key = '';
  let after = '';
  let underlined = false;
  const chars = Array.from(caption);
  for (let i = 0; i < chars.length; ++i) {
    let c = chars[i];
    if (c === '&' && i + 1 < chars.length) {
      const next = chars[++i];
      if (next === '&' || underlined) {
        c = next;
      } else {
        key = next;
        underlined = true;
        continue;
      }
    }
    if (underlined) after += c;
    else before += c;
  }
  return {before, key, after};
}

// Fills `element` with the caption, its access key underlined.
export function showCaption(element, caption) {
  const {before, key, after} = parseAccessKey(caption);
  if (!key) {
    element.textContent = before;
    return '';
  }
  const u = document.createElement('u');
  u.textContent = key;
  element.replaceChildren(before, u, after);
  return key;
}
