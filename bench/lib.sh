# Shared pieces of the benchmark scripts: sourced, not run.
#   voice_wav FILE SAMPLES SEED [RATE]   a 16-bit mono WAV of a voice-like signal
#   now                                  nanoseconds since the epoch (microsecond steps)
#   median N...                          the median of the numbers given
#   ms NS / ratio A B                    a duration in ms, a quotient to two places

# Syllables of a gliding voiced tone with harmonics, breath noise and short
# pauses, so that it compresses like speech rather than like silence or noise.
voice_wav() {
    python3 - "$1" "$2" "$3" "${4:-22050}" <<'PY'
import array, math, random, struct, sys
path, count, seed, rate = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
random.seed(seed)
table = [sum(math.sin(2 * math.pi * h * k / 1024) / h for h in range(1, 9)) for k in range(1024)]
samples = array.array('h', bytes(2 * count))
phase, f0, i = 0.0, 140.0, 0
while i < count:
    length = random.randint(rate // 10, rate // 3)
    voiced = random.random() < 0.8
    target = random.uniform(90.0, 220.0)
    for n in range(min(length, count - i)):
        envelope = math.sin(math.pi * n / length)
        f0 += (target - f0) * 0.0005
        phase = (phase + f0 * 1024 / rate) % 1024
        value = (table[int(phase)] * 5000 if voiced else 0.0) * envelope
        value += random.gauss(0.0, 300.0 if voiced else 60.0)
        samples[i] = max(-32768, min(32767, int(value)))
        i += 1
data = samples.tobytes()
with open(path, 'wb') as f:
    f.write(b'RIFF' + struct.pack('<I', 36 + len(data)) + b'WAVEfmt ')
    f.write(struct.pack('<IHHIIHH', 16, 1, 1, rate, rate * 2, 2, 16))
    f.write(b'data' + struct.pack('<I', len(data)) + data)
PY
}

now() { local t=${EPOCHREALTIME/[.,]/}; echo $((t * 1000)); }
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
ms() { awk -v ns="$1" 'BEGIN {printf "%.1f ms", ns / 1e6}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
