// The auto-scan's timer as the model has it: on or off, an interval, and a count that starts
// again whenever the model restarts it (its generation changes). The page's real timer fires
// after each interval; under test a clock the runner moves on stands in for it, stepping from
// one due tick to the next as the headless runner's `wait` does.

export class ScanTimer {
  // `fire()`: the interval has passed (the page drops the tick while a box is in front).
  constructor(fire) {
    this.fire = fire;
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
      const before = this.timer.generation;
      this.fire();
      // A tick the page dropped leaves the count running on: the next comes an interval later.
      if (this.handle === null && this.timer.generation === before && this.timer.enabled) this.arm();
    }, this.timer.interval);
  }
}

// The test clock: milliseconds since midnight, moved on only by advance().
export class TestClock {
  constructor(fire, finished) {
    this.fire = fire;
    this.finished = finished;
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
