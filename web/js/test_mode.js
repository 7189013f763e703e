// The page under test (index.html?test): what the browser runner (tests/web/) needs besides the
// page itself. It lays out the folder the drill runs in as the runner found it on disk, sets the
// voices, rates and last error as orvane-sim's script does, collects the transcript the bridge
// writes, moves the test clock on, and hands back what the drill wrote into the folder.
// Everything else (keys, clicks, menus, the file chooser, what is shown) goes through the page.

export const FOLDER = '/work';

// Speech timed on the test clock as the headless runner times it: every character takes 80 ms;
// a focus caption that cuts the one still speaking starts at once, anything else waits its turn.
export class SpeechTimeModel {
  static MS_PER_CHARACTER = 80;

  constructor(now) {
    this.now = now;
    this.endsMs = 0;
    this.captionSpeaking = false;
  }

  speak(u) {
    const now = this.now();
    const cuts = u.cutByNextCaption && this.captionSpeaking;
    const from = cuts ? now : Math.max(now, this.endsMs);
    this.endsMs = from + SpeechTimeModel.MS_PER_CHARACTER * [...u.text].length;
    this.captionSpeaking = u.cutByNextCaption;
  }

  speakingForMs() {
    return Math.max(0, this.endsMs - this.now());
  }
}

// A FIFO, socket or device in the runner's folder: a device node here, which the core refuses as
// it refuses those (only regular files are read).
function specialDevice(FS) {
  const dev = FS.makedev(99, 0);
  FS.registerDevice(dev, {
    open() {},
    close() {},
    read: () => 0,
    write: (stream, buffer, offset, length) => length,
  });
  return dev;
}

// Lays out `entries` ({name, type: 'file' | 'dir' | 'special', bytes (base64), writable}) in the
// folder, read-only where the runner may not write; returns the folder.
export function layOutFolder(FS, entries, folderWritable) {
  FS.mkdir(FOLDER);
  let dev = null;
  for (const e of entries) {
    const path = `${FOLDER}/${e.name}`;
    if (e.type === 'dir') {
      FS.mkdir(path);
    } else if (e.type === 'special') {
      dev ??= specialDevice(FS);
      FS.mkdev(path, 0o644, dev);
    } else {
      FS.writeFile(path, Uint8Array.from(atob(e.bytes), (c) => c.charCodeAt(0)));
      FS.chmod(path, e.writable ? 0o644 : 0o444);
    }
  }
  FS.chmod(FOLDER, folderWritable ? 0o755 : 0o555);
  FS.chdir(FOLDER);
  return FOLDER;
}

// The regular files of the folder, name to base64 bytes, for the runner to write back.
export function folderFiles(FS) {
  const files = {};
  for (const name of FS.readdir(FOLDER)) {
    const path = `${FOLDER}/${name}`;
    if (!FS.isFile(FS.stat(path).mode)) continue;
    let binary = '';
    for (const b of FS.readFile(path)) binary += String.fromCharCode(b);
    files[name] = btoa(binary);
  }
  return files;
}
