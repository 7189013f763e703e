// The auto-scan's timer as the model has it: on or off, an interval, and a count that starts
// again whenever the model restarts it (its generation changes). The page's real timer fires
// after each interval; under test a clock the runner moves on stands in for it, stepping from
// one due tick to the next as the headless runner's `wait` does.

export class ScanTimer {
  // `fire()`: the interval has passed (the page drops the tick while a box is in front).
  // `speaking()`: whether speech goes on; when the scan waits for speech (the model's
  // waitsForSpeech), a step falls due only a whole interval after speech has ended.
  constructor(fire, speaking = () => false) {
    this.fire = fire;
    this.speaking = speaking;
    this.timer = {enabled: false, interval: 4500, generation: -1};
    this.handle = null;
  }

  update(timer) {
    const restart = timer.enabled !== this.timer.enabled ||
        timer.generation !== this.timer.generation || timer.interval !== this.timer.interval;
    this.timer = timer;
    if (!restart) return;
    clearTimeout(this.handle);
    this.handle = null;
    if (timer.enabled && timer.interval > 0) this.arm();
  }

  arm() {
    this.handle = setTimeout(() => {
      this.handle = null;
      if (this.timer.waitsForSpeech && this.speaking()) return this.waitForQuiet();
      const before = this.timer.generation;
      this.fire();
      // A tick the page dropped leaves the count running on: the next comes an interval later.
      if (this.handle === null && this.timer.generation === before && this.timer.enabled) this.arm();
    }, this.timer.interval);
  }

  // Looks again every 100 ms; the count starts once speech has ended.
  waitForQuiet() {
    this.handle = setTimeout(() => {
      this.handle = null;
      if (this.speaking()) this.waitForQuiet();
      else this.arm();
    }, 100);
  }
}

// The test clock: milliseconds since midnight, moved on only by advance(). `speakingForMs()`:
// how long the speech modelled on this clock goes on; while the scan waits for speech, the
// count stands until then and starts again.
export class TestClock {
  constructor(fire, finished, speakingForMs = () => 0) {
    this.fire = fire;
    this.finished = finished;
    this.speakingForMs = speakingForMs;
    this.now = 0;
    this.elapsed = 0;
    this.timer = {enabled: false, interval: 4500, generation: -1};
  }

  update(timer) {
    if (timer.generation !== this.timer.generation || timer.enabled !== this.timer.enabled) {
      this.elapsed = 0;
    }
    this.timer = timer;
  }

  advance(ms) {
    while (ms > 0 && !this.finished()) {
      const {enabled, interval} = this.timer;
      if (!enabled || interval <= 0) {
        this.now += ms;
        return;
      }
      const held = this.timer.waitsForSpeech ? Math.min(ms, this.speakingForMs()) : 0;
      if (held > 0) {
        this.now += held;
        ms -= held;
        this.elapsed = 0;
        continue;
      }
      const due = Math.max(0, interval - this.elapsed);
      if (due > ms) {
        this.elapsed += ms;
        this.now += ms;
        return;
      }
      this.now += due;
      ms -= due;
      this.elapsed = 0;
      this.fire();
    }
  }
}
