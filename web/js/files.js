// Question files from the device: File > Open's file chooser and a file dropped on the window
// land in the core's file system, one folder each, and the core opens them as on the desktop. A
// file the browser cannot read is handed over as a name with nothing behind it, so the core takes
// its own path for a file it cannot open.

export class LessonFiles {
  constructor(FS, input) {
    this.FS = FS;
    this.input = input;
    this.count = 0;
    this.last = null;
    FS.mkdirTree('/opened');
  }

  // Puts the chosen file in the file system; returns its path there.
  async put(file) {
    const folder = `/opened/${++this.count}`;
    const path = `${folder}/${file.name}`;
    this.FS.mkdir(folder);
    try {
      this.FS.writeFile(path, new Uint8Array(await file.arrayBuffer()));
    } catch {
      // Unreadable: nothing behind the name.
    }
    return path;
  }

  // The file before the one just opened is not needed any more (the core has closed it).
  forgetOlder(path) {
    if (this.last && this.last !== path) {
      try {
        this.FS.unlink(this.last);
      } catch {
        // It was never there.
      }
    }
    this.last = path;
  }

  // The file chooser, opened from the user's own key or click; the chosen file, or null when it
  // was cancelled.
  choose() {
    const input = this.input;
    return new Promise((resolve) => {
      let settled = false;
      const settle = (file) => {
        if (settled) return;
        settled = true;
        input.removeEventListener('change', onChange);
        input.removeEventListener('cancel', onCancel);
        removeEventListener('focus', onFocus);
        resolve(file);
      };
      const onChange = () => settle(input.files[0] ?? null);
      const onCancel = () => settle(null);
      // Browsers without the cancel event: back in the window with nothing chosen.
      const onFocus = () => setTimeout(() => settle(input.files[0] ?? null), 1000);
      input.addEventListener('change', onChange);
      input.addEventListener('cancel', onCancel);
      addEventListener('focus', onFocus);
      input.value = '';
      input.click();
    });
  }
}

// The lesson a teacher's link names (?lesson=URL, on this site only), or the built-in example.
export async function fetchStartLesson(params) {
  const named = params.get('lesson');
  const url = new URL(named ?? 'examples/toi.dat', location.href);
  if (url.origin !== location.origin) {
    return {error: `問題ファイルは同じサイトのものだけ開けます: ${named}`};
  }
  try {
    const response = await fetch(url);
    if (!response.ok) throw new Error(String(response.status));
    return {bytes: new Uint8Array(await response.arrayBuffer())};
  } catch {
    return {error: `問題ファイルを読み込めません: ${named ?? url.pathname}`};
  }
}
