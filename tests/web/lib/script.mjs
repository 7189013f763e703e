// orvane-sim's script language, read as the headless runner reads it (tools/sim/script.cpp):
// one command a line, "#" comments, blank lines skipped; a malformed line is named.

const BLANK = /^[ \t\r]+|[ \t\r]+$/g;

function int32(text) {
  if (!/^-?\d+$/.test(text)) return {ok: false};
  const v = Number(text);
  if (v < -2147483648 || v > 2147483647) return {ok: false, outOfRange: true};
  return {ok: true, value: v};
}

function split(s) {
  const m = /^([^ \t\r]*)[ \t\r]*(.*)$/s.exec(s);
  return [m[1], m[2].replace(BLANK, '')];
}

// The command of one line, null for a blank or comment line; throws Error(message) when malformed.
export function parseLine(raw) {
  const line = raw.replace(BLANK, '');
  if (line === '' || line.startsWith('#')) return null;
  const [word, rest] = split(line);
  const c = {op: word, text: line, arg: rest};
  const fail = (message) => {
    throw new Error(message);
  };
  const noArgs = () => (rest === '' ? c : fail(`'${word}' takes no argument`));
  const oneArg = () => (rest !== '' ? c : fail(`'${word}' needs an argument`));
  const number = (text) => {
    const n = int32(text);
    if (n.outOfRange) fail(`a number does not fit 32 bits: ${line}`);
    return n;
  };
  switch (word) {
    case 'start':  // "start FILE": the program started with a question file
      return c;
    case 'tick':
      return noArgs();
    case 'click':
    case 'clickword':
    case 'key':
    case 'menu':
      return oneArg();
    case 'open':
      if (rest === 'cancel') return {...c, op: 'open-cancel'};
      return oneArg();
    case 'voice': {
      const [id, title] = split(rest);
      const n = number(id);
      if (!n.ok || title === '') fail('usage: voice LANGID TITLE...');
      return {...c, a: n.value, arg: title};
    }
    case 'rate': {
      const [first, tail] = split(rest);
      const [second, none] = split(tail);
      const a = number(first);
      const b = number(second);
      if (!a.ok || !b.ok || none !== '') fail('usage: rate SPEED MINSPEED');
      return {...c, a: a.value, b: b.value};
    }
    case 'lasterror':
    case 'wait': {
      const [first, tail] = split(rest);
      const n = number(first);
      if (!n.ok || tail !== '') fail(`usage: ${word} NUMBER`);
      if (word === 'wait' && (n.value < 0 || n.value > 86400000)) {
        fail('wait takes from 0 to 86400000 ms');
      }
      return {...c, a: n.value};
    }
    case 'dialog': {
      const [what, tail] = split(rest);
      if ((what === 'ok' || what === 'cancel') && tail === '') return {...c, op: `dialog-${what}`};
      if (what === 'select') {
        const [list, posText] = split(tail);
        const pos = number(posText);
        if ((list === 'ListBox1' || list === 'ListBox2') && pos.ok) {
          return {...c, op: 'dialog-select', arg: list, a: pos.value};
        }
      }
      return fail('usage: dialog select ListBox1|ListBox2 POS, dialog ok, dialog cancel');
    }
    case 'show':
      if (['focus', 'timer', 'dialog'].includes(rest)) return {...c, op: `show-${rest}`};
      return oneArg();
    default:
      return fail(`unknown command '${word}'`);
  }
}

// A text in quotes as the transcript writes it (src/app/transcript.cpp): backslash, quote, CR
// and LF escaped, every other control character (C0, DEL, C1) as \xNN for each of its bytes.
export function quote(text) {
  let out = '"';
  for (const ch of text) {
    const c = ch.codePointAt(0);
    if (ch === '\\') out += '\\\\';
    else if (ch === '"') out += '\\"';
    else if (ch === '\r') out += '\\r';
    else if (ch === '\n') out += '\\n';
    else if (c < 0x20 || c === 0x7f) out += `\\x${c.toString(16).toUpperCase().padStart(2, '0')}`;
    else if (c >= 0x80 && c <= 0x9f) out += `\\xC2\\x${c.toString(16).toUpperCase()}`;
    else out += ch;
  }
  return `${out}"`;
}
