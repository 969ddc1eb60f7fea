#!/usr/bin/env bash
# Cold start of the client against a bare Qt widgets window (one label), as a user feels it,
# under one Xvfb server. Run by hand:
#
#   bench/startup/bench-startup.sh BUILD_DIR [ROUNDS]
#
# Each round execs, one after the other, the bare window, the bare window with
# --raster (top-level widgets on raster surfaces, as the client has them: no GL stack) and the
# client, and measures from a CLOCK_MONOTONIC stamp taken just before exec to the "shown"
# stamp each prints with QUELLNET_TRACE_STARTUP=1 (its first frame painted): the time to the
# first frame and the process CPU time until then, VmRSS 3 s after exec, and for the client
# the wake-ups per second (voluntary and involuntary context switches of all its threads)
# from 3 s to 8 s after exec. Medians over ROUNDS (default 15). The client runs in a
# throw-away HOME/XDG folder, on a session bus of its own when dbus-run-session is there, and
# is pointed at a loopback address where nothing listens: no backend, no network.
#
# Exit code: 0 goals met, 2 a goal missed, 1 a run failed.
# BUILD_DIR must have the quellnet and quellnet_bench_bare_window targets built.
set -euo pipefail
build=$(readlink -f "${1:?usage: bench-startup.sh BUILD_DIR [ROUNDS]}")
rounds=${2:-15}
for program in quellnet quellnet_bench_bare_window; do
    [ -x "$build/bin/$program" ] || {
        echo "build it first: cmake --build $build --target $program" >&2
        exit 1
    }
done
command -v xvfb-run >/dev/null || { echo "needs xvfb-run (package xvfb)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/quellnet-bench-startup.XXXXXX")
trap 'rm -rf "$work"' EXIT
launcher="$work/launch.py"
cat >"$launcher" <<'PY'
import os, statistics, sys, time

build, rounds, work = sys.argv[1], int(sys.argv[2]), sys.argv[3]
RSS_AT, IDLE_FROM, IDLE_TO, SHOWN_WAIT = 3.0, 3.0, 8.0, 20.0
GOAL_TIME, GOAL_RSS = 1.2, 1.1

def now_ms():
    return time.clock_gettime(time.CLOCK_MONOTONIC) * 1e3

def vmrss_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return -1

def switches(pid):
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/status") as status:
                for line in status:
                    if line.startswith(("voluntary_ctxt_switches:", "nonvoluntary_ctxt_switches:")):
                        total += int(line.split()[1])
        except FileNotFoundError:
            pass  # a thread that ended between the listing and the read
    return total

def steps(path):
    found = []
    with open(path, errors="replace") as err:
        for line in err:
            parts = line.split(maxsplit=3)
            if len(parts) == 4 and parts[0] == "startup-trace" and parts[2].startswith("cpu="):
                found.append((parts[3].strip(), float(parts[1]), float(parts[2][4:])))
    return found

def sleep_until(t0, seconds):
    delay = t0 + seconds * 1e3 - now_ms()
    if delay > 0:
        time.sleep(delay / 1e3)

def end(pid):
    try:
        os.kill(pid, 15)
    except ProcessLookupError:
        pass
    for _ in range(100):  # 10 s at most
        done, _status = os.waitpid(pid, os.WNOHANG)
        if done:
            return
        time.sleep(0.1)
    os.kill(pid, 9)
    os.waitpid(pid, 0)

def run(name, argv, env, idle):
    err = os.path.join(work, name + ".stderr")
    actions = [(os.POSIX_SPAWN_OPEN, 0, "/dev/null", os.O_RDONLY, 0),
               (os.POSIX_SPAWN_OPEN, 1, "/dev/null", os.O_WRONLY, 0),
               (os.POSIX_SPAWN_OPEN, 2, err, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o600)]
    t0 = now_ms()
    pid = os.posix_spawn(argv[0], argv, env, file_actions=actions)
    try:
        shown = None
        while shown is None and now_ms() - t0 < SHOWN_WAIT * 1e3:
            shown = {step: (t, cpu) for step, t, cpu in steps(err)}.get("shown")
            if shown is None:
                if os.waitpid(pid, os.WNOHANG)[0]:
                    pid = 0
                    break
                time.sleep(0.002)
        if shown is None:
            sys.exit(f"{name}: no first frame within {SHOWN_WAIT:.0f} s; see its stderr:\n"
                     + open(err, errors="replace").read()[-2000:])
        sleep_until(t0, RSS_AT)
        rss = vmrss_kib(pid) / 1024.0
        rate = None
        if idle:
            sleep_until(t0, IDLE_FROM)
            before = switches(pid)
            sleep_until(t0, IDLE_TO)
            rate = (switches(pid) - before) / (IDLE_TO - IDLE_FROM)
        return {"shown": shown[0] - t0, "cpu": shown[1], "rss": rss, "wakeups": rate,
                "steps": [(step, t - t0, cpu) for step, t, cpu in steps(err)]}
    finally:
        if pid:
            end(pid)

home = os.path.join(work, "home")
env = dict(os.environ)
env.update({
    "HOME": home,
    "XDG_CONFIG_HOME": os.path.join(home, ".config"),
    "XDG_DATA_HOME": os.path.join(home, ".local/share"),
    "XDG_CACHE_HOME": os.path.join(home, ".cache"),
    "XDG_RUNTIME_DIR": os.path.join(work, "runtime"),
    "QUELLNET_TRACE_STARTUP": "1",
})
# Nothing listens there: the window must come up without the network.
nowhere = "127.0.1.254"
env.update({
    "QUELLNET_BACKEND_HOST": nowhere + ":9",
    "QUELLNET_SERVERLIST_HOST": nowhere,
    "QUELLNET_WEB_HOST": nowhere + ":9",
    "QUELLNET_COLLECT_URL": f"https://{nowhere}:9/collect",
})
for key in ("XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"):
    os.makedirs(env[key], mode=0o700, exist_ok=True)
for key in ("QT_QPA_PLATFORM", "QT_SCALE_FACTOR"):
    env.pop(key, None)

bare_program = [os.path.join(build, "bin", "quellnet_bench_bare_window")]
raster_program = bare_program + ["--raster"]
client_program = [os.path.join(build, "bin", "quellnet")]
bare, raster, client = [], [], []
# One start of each first: the files they map are then in the page cache for all rounds.
run("warm-bare", bare_program, env, False)
run("warm-client", client_program, env, False)
for i in range(rounds):
    bare.append(run("bare", bare_program, env, False))
    raster.append(run("raster", raster_program, env, False))
    client.append(run("client", client_program, env, True))
    print(f"round {i + 1}: bare window {bare[-1]['shown']:.1f} ms {bare[-1]['rss']:.1f} MiB, "
          f"raster-only {raster[-1]['shown']:.1f} ms {raster[-1]['rss']:.1f} MiB, "
          f"client {client[-1]['shown']:.1f} ms {client[-1]['rss']:.1f} MiB "
          f"{client[-1]['wakeups']:.1f} wake-ups/s", flush=True)

def med(runs, key):
    return statistics.median(r[key] for r in runs)

def steps_line(name, runs):
    def at(run, step, index):
        return next((s[index] for s in run["steps"] if s[0] == step), float("nan"))
    names = [s[0] for s in runs[0]["steps"]]
    print(f"{name} steps, median ms after exec (CPU ms): " + ", ".join(
        f"{step} {statistics.median(at(r, step, 1) for r in runs):.1f} "
        f"({statistics.median(at(r, step, 2) for r in runs):.1f})" for step in names))

bare_ms, raster_ms, client_ms = med(bare, "shown"), med(raster, "shown"), med(client, "shown")
bare_rss, raster_rss, client_rss = med(bare, "rss"), med(raster, "rss"), med(client, "rss")
bare_cpu, raster_cpu, client_cpu = med(bare, "cpu"), med(raster, "cpu"), med(client, "cpu")
wakeups = med(client, "wakeups")
steps_line("bare window", bare)
steps_line("client", client)
print(f"median of {rounds} rounds, exec to first frame: bare window {bare_ms:.1f} ms, "
      f"raster-only bare window {raster_ms:.1f} ms, client {client_ms:.1f} ms")
print(f"ratio client/bare start-up: {client_ms / bare_ms:.2f} (goal <= {GOAL_TIME}); "
      f"client/raster-only bare: {client_ms / raster_ms:.2f}")
# CPU time of the process until its first frame: what load from other programs moves least.
print(f"median CPU time to first frame: bare window {bare_cpu:.1f} ms, raster-only bare window "
      f"{raster_cpu:.1f} ms, client {client_cpu:.1f} ms")
print(f"median VmRSS {RSS_AT:.0f} s after exec: bare window {bare_rss:.1f} MiB, "
      f"raster-only bare window {raster_rss:.1f} MiB, client {client_rss:.1f} MiB")
print(f"ratio client/bare memory: {client_rss / bare_rss:.2f} (goal <= {GOAL_RSS}); "
      f"client/raster-only bare: {client_rss / raster_rss:.2f}")
print(f"client idle wake-ups {IDLE_FROM:.0f}-{IDLE_TO:.0f} s after exec: {wakeups:.1f}/s "
      f"(goal 0)")
met = client_ms / bare_ms <= GOAL_TIME and client_rss / bare_rss <= GOAL_RSS and wakeups == 0
sys.exit(0 if met else 2)
PY
# One X server for all rounds, with the screen of a common laptop; a session bus as a desktop
# has one (the tray and accessibility look for it).
session=()
command -v dbus-run-session >/dev/null && session=(dbus-run-session --)
xvfb-run -a -s "-screen 0 1440x900x24" "${session[@]}" python3 "$launcher" "$build" "$rounds" "$work"
