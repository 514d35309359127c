#!/usr/bin/env python3
"""Makes the program's seven sound cues from tones: mono, 22050 Hz, 16-bit PCM wave files.

    python3 scripts/make_sounds.py <folder>

Each cue fits its event: a win rises, a loss falls, an alert is urgent, the alarm clock rings.
The output is the same on every run (no randomness), so a build makes the same files.
"""
import math
import os
import struct
import sys
import wave

RATE = 22050
PEAK = 32767


def silence(seconds):
    return [0.0] * int(round(seconds * RATE))


def tone(freq_from, seconds, level=0.5, freq_to=None, harmonics=(1.0, 0.2, 0.08),
         attack=0.008, release=0.03, decay=None):
    """A tone that may glide from one pitch to another, with soft edges.

    `decay` (seconds) makes it die away like a struck bell instead of holding its level.
    """
    freq_to = freq_from if freq_to is None else freq_to
    n = int(round(seconds * RATE))
    out = []
    phase = 0.0
    for i in range(n):
        t = i / RATE
        f = freq_from + (freq_to - freq_from) * (i / max(1, n - 1))
        phase += 2 * math.pi * f / RATE
        v = sum(a * math.sin((k + 1) * phase) for k, a in enumerate(harmonics)) / sum(harmonics)
        env = 1.0
        if t < attack:
            env = t / attack
        remaining = seconds - t
        if remaining < release:
            env = min(env, remaining / release)
        if decay:
            env *= math.exp(-t / decay)
        out.append(level * env * v)
    return out


def mix(*parts):
    """Plays the parts at the same time."""
    n = max(len(p) for p in parts)
    return [sum(p[i] for p in parts if i < len(p)) for i in range(n)]


def join(*parts):
    out = []
    for p in parts:
        out.extend(p)
    return out


def add_item():
    # A short, light "blip" upwards: an item went into the list.
    return join(tone(880, 0.07, level=0.45), tone(1320, 0.11, level=0.45, decay=0.08))


def dl_complete():
    # A two-note chime, the second note lower and left to ring: done.
    return join(tone(1047, 0.16, level=0.45, decay=0.12, release=0.01),
                tone(784, 0.40, level=0.45, decay=0.18))


def alert():
    # Three quick, hard beeps of a high two-tone: something needs the user now.
    beep_hi = tone(1480, 0.08, level=0.55, harmonics=(1.0, 0.0, 0.35), attack=0.003, release=0.01)
    beep_lo = tone(1175, 0.08, level=0.55, harmonics=(1.0, 0.0, 0.35), attack=0.003, release=0.01)
    gap = silence(0.04)
    return join(beep_hi, beep_lo, gap, beep_hi, beep_lo, gap, beep_hi, beep_lo)


def clock_alarm():
    # An alarm clock's bell: a hammer striking about 16 times a second, in two rings.
    strike = join(mix(tone(2093, 0.05, level=0.3, decay=0.05, attack=0.002, release=0.01),
                      tone(2637, 0.05, level=0.2, decay=0.04, attack=0.002, release=0.01)),
                  silence(0.012))
    ring = join(*([strike] * 9))
    return join(ring, silence(0.18), ring)


def general():
    # One soft chime: a notice.
    return mix(tone(659, 0.45, level=0.4, decay=0.16), tone(1319, 0.45, level=0.1, decay=0.1))


def win():
    # A rising fanfare: the auction was won.
    notes = [(523, 0.11), (659, 0.11), (784, 0.11)]
    out = join(*[tone(f, d, level=0.45, release=0.015) for f, d in notes])
    return join(out, tone(1047, 0.38, level=0.45, decay=0.3))


def lose():
    # A falling, sagging line: the auction was lost.
    return join(tone(392, 0.18, level=0.45, release=0.015), tone(330, 0.18, level=0.45, release=0.015),
                tone(262, 0.45, level=0.45, freq_to=196, decay=0.4))


SOUNDS = {
    "AddItem": add_item,
    "Alert": alert,
    "ClockAlarm": clock_alarm,
    "DLComplete": dl_complete,
    "General": general,
    "Lose": lose,
    "Win": win,
}


def write_wave(path, samples):
    frames = b"".join(struct.pack("<h", max(-PEAK, min(PEAK, int(round(s * PEAK))))) for s in samples)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_sounds.py <folder>\n")
        return 2
    folder = argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, make in SOUNDS.items():
        write_wave(os.path.join(folder, name + ".wav"), make())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
