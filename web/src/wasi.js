// The few WASI calls the module's C library makes, answered by the page. The
// module reads no real file: its files come from memory, and a file call says
// "bad file descriptor". It reads the real clock, the frame pacer's: `now`
// gives it in milliseconds (performance.now on the page).
const ERRNO_SUCCESS = 0;
const ERRNO_BADF = 8;
const ERRNO_INVAL = 28;
const ERRNO_NOSYS = 52;
const CLOCK_REALTIME = 0;
const CLOCK_MONOTONIC = 1;

export function wasiImports(memoryOf, now) {
  const view = () => new DataView(memoryOf().buffer);
  const pending = { 1: '', 2: '' };
  const decoder = new TextDecoder();

  function fd_write(fd, iovs, iovsLength, writtenPtr) {
    if (fd !== 1 && fd !== 2) return ERRNO_BADF;
    const memory = view();
    let written = 0;
    for (let i = 0; i < iovsLength; i++) {
      const base = memory.getUint32(iovs + i * 8, true);
      const length = memory.getUint32(iovs + i * 8 + 4, true);
      pending[fd] += decoder.decode(new Uint8Array(memory.buffer, base, length));
      written += length;
    }
    // Whole lines go to the console.
    const lines = pending[fd].split('\n');
    pending[fd] = lines.pop();
    for (const line of lines) (fd === 2 ? console.warn : console.log)(`zirvo: ${line}`);
    memory.setUint32(writtenPtr, written, true);
    return ERRNO_SUCCESS;
  }

  // Nanoseconds as a 64-bit count: the monotonic clock from `now`, the
  // calendar from Date (nothing in the module asks for it).
  function clock_time_get(id, precision, timePtr) {
    let ns;
    if (id === CLOCK_MONOTONIC) ns = BigInt(Math.round(now() * 1e6));
    else if (id === CLOCK_REALTIME) ns = BigInt(Date.now()) * 1000000n;
    else return ERRNO_INVAL;
    view().setBigUint64(timePtr, ns, true);
    return ERRNO_SUCCESS;
  }

  return {
    clock_time_get,
    fd_write,
    fd_close: () => ERRNO_BADF,
    fd_fdstat_get: () => ERRNO_BADF,
    fd_fdstat_set_flags: () => ERRNO_BADF,
    fd_prestat_get: () => ERRNO_BADF,  // no directories are open
    fd_prestat_dir_name: () => ERRNO_BADF,
    fd_read: () => ERRNO_BADF,
    fd_seek: () => ERRNO_BADF,
    path_open: () => ERRNO_NOSYS,
    proc_exit: (code) => {
      throw new Error(`the module ended with exit code ${code}`);
    },
  };
}
