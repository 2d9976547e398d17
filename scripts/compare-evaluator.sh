#!/usr/bin/env bash
# The evaluator's observable output, for comparing two builds byte for byte:
# the program, table, messages and values of every formula in the corpus
# (string literals of the evaluator tests and benchmarks, the special
# functions' reference table, hand-made inputs for every message and every
# combination of up to three tokens), and vorlane-gen's output, messages and
# exit status for every design in examples/ and tests/.
#
# Usage (from the project's root): scripts/compare-evaluator.sh BUILD_DIR OUT_DIR
#   BUILD_DIR holds a build with vorlane-gen (its core library is linked into
#   the corpus tool, compiled with that tree's headers). Then compare:
#   diff -r BEFORE_DIR AFTER_DIR
set -euo pipefail
BUILD=$(cd "$1" && pwd)
OUT=$2
ROOT=$(pwd)
SRC=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$BUILD/CMakeCache.txt")
[ -f "$SRC/src/core/evaluator/clsExprEvaluator.h" ] || { echo "no source tree for $BUILD"; exit 2; }
mkdir -p "$OUT"
TOOL=$(mktemp -d)
trap 'rm -rf "$TOOL"' EXIT

g++ -std=c++20 -O1 -I"$SRC/src/core" "$ROOT/scripts/evaluator-corpus.cpp" "$BUILD/src/core/libvorlane_core.a" \
  -o "$TOOL/corpus"

python3 - "$ROOT" >"$OUT/formulas.txt" <<'EOF'
import glob, itertools, random, re, sys
root = sys.argv[1]
out = []
seen = set()
def add(f):
    if '\n' not in f and '\r' not in f and f not in seen:
        seen.add(f)
        out.append(f)
# String literals of the evaluator's tests and benchmarks.
lit = re.compile(r'"((?:[^"\\\n]|\\.)*)"')
esc = {'n': '\n', 't': '\t', '"': '"', '\\': '\\', "'": "'", '0': '\0'}
for path in sorted(glob.glob(root + '/tests/core/evaluator/*.cpp') + glob.glob(root + '/tests/core/evaluator/*.h') +
                   glob.glob(root + '/bench/evaluator_bench.cpp')):
    for m in lit.finditer(open(path, encoding='utf-8').read()):
        s = re.sub(r'\\(.)', lambda e: esc.get(e.group(1), e.group(0)), m.group(1))
        if '\0' not in s:
            add(s)
# The special functions' reference table.
for line in open(root + '/tests/core/data/specfun_reference.tsv', encoding='utf-8'):
    if not line.startswith('#'):
        f = line.split('\t')
        add('%s(%s)' % (f[0], f[1]))
# Every message.
hand = ['', ' ', '2..3', '1.2.3', '5!3', 'x%y', '(2)3', '2(', 'foo(2)', '2)', '(2', '((2)', 'sin(1,2)', '1,2',
        '2+', 'max(1)', 'max(1,)', 'max(,1)', '(2)-', '-', '+', 'foo#', 'pi#', 'pi', 'e#', '1e999', '1e-999',
        '1e', '2e+', '30d15m20s', '30d15x', '30°15\'20"', '30°x', '1d2', '|2', '|2|', '||', '-|x|', '2|x|',
        'x<y<z', '(x<y)<z', 'sin(1<2<3)', '(x>0)*log(x)', 'log(x)*(x>0)', '(x>0)*(y>0)*sqr(x)', 'x<=>y',
        'x=<y', 'x<>y', 'x><y', 'x===y', '2x', '2X+3y', 'x2', '2e3x', 'sqr(-1)', '1/0', 'log(0)', 'x/y', 'x\\y',
        '5\\0', '0^-1', 'fact(-1)', '171!', '-5!', '5%', 'x%', '50%%', '+(2)', '-(2)', '--2', '+-2', '2--2',
        '2^-2', '2^--2', 'max(1,2,3)', 'min(x,y,z,w)', 'clip(x,1,2)', '-max(1,2,3)', 'round(x,2)', 'rnd(1)',
        'x+rnd(1)', '[1+2]*{3}', '(1+2]', 'sin[x]', '  x  +  y  ', 'αβ+1', 'x+é', '1 2', 'x y', 'é(2)']
hand.append('+'.join('a%d' % i for i in range(1, 102)))
hand.append('+'.join('1' for _ in range(201)))
hand.append('+'.join('x' for _ in range(199)))
hand.append('(' * 10001 + '1' + ')' * 10001)
hand.append('(' * 200 + '1' + ')' * 200)
hand.append('max(' * 40 + '1' + ',1)' * 40)
hand.append('sin(' * 120 + 'x' + ')' * 120)
for f in hand:
    add(f)
# Every string of up to three tokens.
tokens = ['1', 'x', '2.5', '-', '+', '*', '/', '\\', '^', '(', ')', '|', ',', '!', '%', '<', '>', '=', 'sin',
          'max', 'e', 'pi', '#', ' ', 'y']
for n in (1, 2, 3):
    for combo in itertools.product(tokens, repeat=n):
        add(''.join(combo))
# A seeded sample of longer ones.
rng = random.Random(25)
for _ in range(20000):
    add(''.join(rng.choice(tokens) for _ in range(rng.randint(4, 12))))
# Seeded random expressions that mostly compile: every operator, brackets,
# signs, functions of one to three arguments, comparisons and conditions.
def expr(d):
    r = rng.random()
    if d <= 0 or r < 0.25:
        return rng.choice(['x', 'y', 'z', 'w1', '2', '0.5', '3', '-x', 'pi', '1e2', '10', '0'])
    if r < 0.55:
        return expr(d - 1) + rng.choice(['+', '-', '*', '/', '^', '\\', '<', '>=', '=', '<>']) + expr(d - 1)
    if r < 0.7:
        o = rng.choice(['(', '-(', '['])
        return o + expr(d - 1) + (']' if o == '[' else ')')
    if r < 0.8:
        return rng.choice(['sin', 'sqrt', 'log', 'exp', 'abs', 'int', '-cos', 'sqr']) + '(' + expr(d - 1) + ')'
    if r < 0.88:
        return rng.choice(['max', 'min', 'round']) + '(' + expr(d - 1) + ',' + expr(d - 1) + ')'
    if r < 0.93:
        return rng.choice(['max', 'clip', 'min']) + '(' + expr(d - 1) + ',' + expr(d - 1) + ',' + expr(d - 1) + ')'
    if r < 0.97:
        return '(' + expr(d - 1) + rng.choice(['>', '<', '<=']) + expr(d - 1) + ')*' + expr(d - 1)
    return '|' + expr(d - 1) + '|'
for _ in range(6000):
    add(expr(rng.randint(1, 6)))
sys.stdout.write('\n'.join(out) + '\n')
EOF

"$TOOL/corpus" <"$OUT/formulas.txt" >"$OUT/evaluator.txt" 2>&1
echo "exit $?" >>"$OUT/evaluator.txt"

gen="$BUILD/src/tools/vorlane-gen"
: >"$OUT/gen.txt"
for design in $(find "$ROOT/examples" "$ROOT/tests" -name '*.json' | sort); do
  for mode in generate check; do
    args=("$design")
    [ "$mode" = check ] && args=(--check "$design")
    status=0
    "$gen" "${args[@]}" >"$TOOL/out" 2>"$TOOL/err" || status=$?
    { echo "== $mode ${design#"$ROOT"/} exit $status"; echo "-- stdout"; cat "$TOOL/out"; echo "-- stderr"
      cat "$TOOL/err"; } >>"$OUT/gen.txt"
  done
done
wc -l "$OUT"/*.txt
