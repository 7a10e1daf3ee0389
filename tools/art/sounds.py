"""Synthesised sounds: short mono 16-bit WAVE files at 22050 Hz made from tones, sweeps and
noise with soft envelopes, so that nothing clicks and loops join without a seam."""

import io
import math
import random
import struct
import wave

RATE = 22050


def _envelope(i, count, attack, release):
    a = int(attack * RATE)
    r = int(release * RATE)
    gain = 1.0
    if a and i < a:
        gain = i / a
    if r and i > count - r:
        gain = min(gain, (count - i) / r)
    return gain


def tone(frequency, seconds, volume=0.5, attack=0.005, release=0.05, harmonics=(1.0, 0.3, 0.1), vibrato=0.0):
    count = int(seconds * RATE)
    out = []
    phase = 0.0
    for i in range(count):
        f = frequency * (1.0 + vibrato * math.sin(2 * math.pi * 6 * i / RATE))
        phase += 2 * math.pi * f / RATE
        value = sum(weight * math.sin(phase * (n + 1)) for n, weight in enumerate(harmonics))
        out.append(volume * value / sum(harmonics) * _envelope(i, count, attack, release))
    return out


def bell(frequency, seconds, volume=0.5):
    count = int(seconds * RATE)
    partials = ((1.0, 1.0), (2.76, 0.4), (5.4, 0.2))
    return [volume * sum(w * math.sin(2 * math.pi * frequency * p * i / RATE) for p, w in partials) / 1.6
            * math.exp(-4.0 * i / count) * min(1.0, i / 40.0) for i in range(count)]


def sweep(start, end, seconds, volume=0.5, attack=0.005, release=0.03):
    count = int(seconds * RATE)
    out = []
    phase = 0.0
    for i in range(count):
        f = start * (end / start) ** (i / count)
        phase += 2 * math.pi * f / RATE
        out.append(volume * math.sin(phase) * _envelope(i, count, attack, release))
    return out


def noise(seconds, volume=0.3, smooth=0.5, attack=0.01, release=0.05, seed=1):
    """Noise, low-passed by `smooth` (0 bright .. 0.95 dull)."""
    generator = random.Random(seed)
    count = int(seconds * RATE)
    out = []
    value = 0.0
    for i in range(count):
        value = smooth * value + (1 - smooth) * generator.uniform(-1, 1)
        out.append(volume * value * _envelope(i, count, attack, release))
    return out


def loop_tone(base, seconds, wobble_hz, depth, volume=0.3):
    """A seamless loop: every frequency is a whole number of cycles over the loop."""
    count = int(seconds * RATE)
    cycles = round(base * seconds)
    wobble_cycles = max(1, round(wobble_hz * seconds))
    out = []
    for i in range(count):
        t = i / count
        wobble = 0.5 + 0.5 * math.sin(2 * math.pi * wobble_cycles * t)
        value = math.sin(2 * math.pi * cycles * t) + 0.4 * math.sin(2 * math.pi * 2 * cycles * t)
        out.append(volume * (1 - depth + depth * wobble) * value / 1.4)
    return out


def mix(*parts):
    length = max(len(p) for p in parts)
    return [sum(p[i] for p in parts if i < len(p)) for i in range(length)]


def then(*parts, gap=0.0):
    out = []
    for part in parts:
        out += part + [0.0] * int(gap * RATE)
    return out


def delayed(seconds, part):
    return [0.0] * int(seconds * RATE) + part


def notes(frequencies, step, length, volume=0.4):
    return mix(*[delayed(i * step, tone(f, length, volume, release=0.08)) for i, f in enumerate(frequencies)])


C5, D5, E5, F5, G5, A5, B5, C6, E6, G6 = 523.25, 587.33, 659.25, 698.46, 783.99, 880.0, 987.77, 1046.5, 1318.5, 1568.0
C4, E4, G4 = 261.63, 329.63, 392.0


def wave_bytes(samples):
    peak = max(1e-9, max(abs(s) for s in samples))
    gain = min(1.0, 0.9 / peak)
    frames = b"".join(struct.pack("<h", int(max(-1.0, min(1.0, s * gain)) * 32767)) for s in samples)
    buffer = io.BytesIO()
    with wave.open(buffer, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)
    return buffer.getvalue()


KID = 1000

# Kid sounds by number: what each is for, and how it sounds.
KID_SOUNDS = {
    0: lambda: sweep(400, 900, 0.09, 0.4),                                # a browse tool starts: pop
    1: lambda: tone(1500, 0.03, 0.4, release=0.02, harmonics=(1.0,)),     # tools window click
    2: lambda: tone(2000, 0.025, 0.3, release=0.02, harmonics=(1.0,)),    # option click
    3: lambda: then(tone(660, 0.06, 0.4), tone(880, 0.08, 0.4)),          # tab click
    4: lambda: sweep(300, 1200, 0.18, 0.4),                               # a browser or page opens
    5: lambda: mix(sweep(250, 700, 0.12, 0.5), delayed(0.1, tone(1050, 0.1, 0.3))),  # picked: bloop
    12: lambda: noise(0.25, 0.4, smooth=0.3, attack=0.05, release=0.15),  # page turns
    13: lambda: tone(1200, 0.04, 0.4, release=0.03),                      # tab bar button
    20: lambda: loop_tone(220, 0.5, 4, 0.3),                              # moving (loops)
    22: lambda: loop_tone(330, 0.5, 2, 0.6),                              # scaling (loops)
    23: lambda: loop_tone(262, 0.5, 8, 0.5),                              # rotating (loops)
    24: lambda: tone(900, 0.05, 0.4, release=0.03),                       # command button
    31: lambda: noise(0.22, 0.5, smooth=0.8, attack=0.04, release=0.12, seed=31),   # brush: swish
    32: lambda: noise(0.2, 0.5, smooth=0.2, attack=0.02, release=0.08, seed=32),    # eraser: rub
    33: lambda: mix(sweep(900, 200, 0.25, 0.5), noise(0.25, 0.15, smooth=0.7, seed=33)),  # bucket: sploosh
    34: lambda: [s * (1 + 0.8 * math.sin(2 * math.pi * 12 * i / RATE)) / 1.8
                 for i, s in enumerate(sweep(200, 420, 0.35, 0.6))],      # shape: boing
    35: lambda: sweep(500, 2500, 0.12, 0.4),                              # line: zip
    36: lambda: noise(0.35, 0.5, smooth=0.6, attack=0.15, release=0.15, seed=36),  # clear: whoosh
    40: lambda: notes([C5, E5, G5], 0.09, 0.2),                           # move your picture now
    41: lambda: then(bell(E6, 0.2, 0.4), bell(E6, 0.3, 0.4)),             # now click the page
    43: lambda: notes([G5, C6], 0.12, 0.18),                              # ready to link or record
    60: lambda: mix(notes([C5, E5, G5, C6], 0.12, 0.35), delayed(0.5, tone(C4, 0.8, 0.2)),
                    delayed(0.5, tone(E4, 0.8, 0.2)), delayed(0.5, tone(G4, 0.8, 0.2)),
                    delayed(0.48, bell(G6, 0.6, 0.25))),                  # hello
    61: lambda: notes([C6, G5, E5, C5], 0.15, 0.3),                       # goodbye
}

MEDIA_SOUNDS = {
    "Bell": lambda: mix(bell(C5, 1.4, 0.5), delayed(0.35, bell(G5, 1.1, 0.35))),
    "Boing": KID_SOUNDS[34],
    "Tweet": lambda: then(*[sweep(2500, 4000, 0.07, 0.4) for _ in range(3)], gap=0.05),
    "Drums": lambda: mix(*[delayed(i * 0.06, noise(0.05, 0.25 + i * 0.012, smooth=0.4, attack=0.002,
                                                   release=0.04, seed=i)) for i in range(25)],
                         delayed(1.5, mix(noise(0.5, 0.6, smooth=0.5, attack=0.002, release=0.45),
                                          sweep(120, 60, 0.4, 0.6)))),
    "Fanfare": lambda: then(notes([G4, C5, E5], 0.12, 0.12), tone(G5, 0.5, 0.4, vibrato=0.01), gap=0.0),
    "Pop": lambda: mix(sweep(300, 1400, 0.08, 0.6), noise(0.04, 0.2, smooth=0.2, seed=9)),
}


def all_sounds():
    made = [("Data/%d.wav" % (KID + number), make) for number, make in sorted(KID_SOUNDS.items())]
    made += [("Sounds/%s.wav" % name, make) for name, make in MEDIA_SOUNDS.items()]
    return made
