// The learner's own files (speech.ini, settings.ini and a results record) live in the
// browser's storage: a folder of the core's file system kept in IndexedDB (emscripten's IDBFS).
// The browser is asked to keep it for good; iPadOS may otherwise clear a page's storage after
// seven days unused (not an app added to the home screen).

export const FOLDER = '/orvane';

function sync(FS, populate) {
  return new Promise((resolve) => FS.syncfs(populate, (error) => resolve(!error)));
}

// Mounts the folder with what was kept; a first visit gets the example speech.ini (Japanese
// voice 1, English voice 2), as the desktop's launcher gives a new folder.
export async function openStorage(FS, defaults) {
  FS.mkdir(FOLDER);
  FS.mount(FS.filesystems.IDBFS, {}, FOLDER);
  await sync(FS, true);
  const ini = `${FOLDER}/speech.ini`;
  if (!FS.analyzePath(ini).exists) {
    const bytes = await defaults;
    if (bytes) {
      FS.writeFile(ini, bytes);
      await sync(FS, false);
    }
  }
  navigator.storage?.persist?.().catch(() => {});
  // Saves after every event; a save asked for while one runs follows it, once.
  let running = null;
  let again = false;
  const save = () => {
    if (running) {
      again = true;
      return running;
    }
    running = sync(FS, false).then(() => {
      running = null;
      if (again) {
        again = false;
        save();
      }
    });
    return running;
  };
  return {save};
}
