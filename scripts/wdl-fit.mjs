#!/usr/bin/env node
// Fits the win/draw/loss model of one engine to the scores it reported in its own
// games, and shows how well the model predicts games it was not fitted on.
//
//   node scripts/wdl-fit.mjs --player PREFIX[,PREFIX...] [--runner DIR] [--folds K] games.pgn...
//
// Every move of a player whose name starts with a PREFIX gives one sample: the score
// the engine reported for its move (centipawns, its own view; mate scores are left
// out), the material on the board before the move, and the game's result for it.
// The constants are fitted on every game. The calibration table shows how well the
// model predicts games it was not fitted on: the games fall into K groups (default
// 4, game n into group n mod K), and each group is predicted by the model fitted
// on the others. The model: for material m (pawn 1, knight and bishop 3, rook 5, queen 9,
// both sides, clamped to 17..78) and x = m / 58,
//   a(x) = a0 + a1 x + a2 x^2 + a3 x^3,   b(x) = b0 + b1 x + b2 x^2 + b3 x^3,
//   win = 1 / (1 + exp((a - s) / b)),  loss = 1 / (1 + exp((a + s) / b)),
//   draw = 1 - win - loss,
// fitted by maximum likelihood. It prints the constants for the C++ model.
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const args = process.argv.slice(2);
const here = path.dirname(fileURLToPath(import.meta.url));
let player = null, folds = 4, runner = path.join(here, '..', '..', 'shared', 'tools', 'match');
const files = [];
for (let i = 0; i < args.length; i++) {
  if (args[i] === '--player') player = args[++i];
  else if (args[i] === '--folds') folds = Number(args[++i]);
  else if (args[i] === '--runner') runner = args[++i];
  else files.push(args[i]);
}
if (!player || files.length === 0) {
  console.error('usage: node scripts/wdl-fit.mjs --player PREFIX[,PREFIX...] [--runner DIR] [--folds K] games.pgn...');
  process.exit(1);
}
const { Chess } = await import(pathToFileURL(path.join(runner, 'lib', 'chess.mjs')).href);

const PieceValue = { p: 1, n: 3, b: 3, r: 5, q: 9, k: 0 };
const material = (chess) =>
  chess.board().flat().reduce((sum, sq) => sum + (sq ? PieceValue[sq.type] : 0), 0);

// The games of a PGN text: headers and the movetext with its comments.
function* games(text) {
  for (const block of text.split(/\n(?=\[Event )/)) {
    const headers = Object.fromEntries([...block.matchAll(/^\[(\w+) "(.*)"\]$/gm)].map((m) => [m[1], m[2]]));
    const body = block.replace(/^\[.*\]$/gm, '');
    if (headers.Result) yield { headers, body };
  }
}

// Moves with the comment that follows each: "Nf3 {+0.25/14 0.5s}".
function* moves(body) {
  const token = /(\{[^}]*\})|(\d+\.(?:\.\.)?)|(1-0|0-1|1\/2-1\/2|\*)|([^\s{}]+)/g;
  let last = null;
  for (const m of body.matchAll(token)) {
    if (m[1] && last) last.comment = m[1];
    else if (m[4]) {
      if (last) yield last;
      last = { san: m[4], comment: null };
    }
  }
  if (last) yield last;
}

const Outcome = { '1-0': 1, '0-1': 0, '1/2-1/2': 0.5 };

function samples(file, gameIndex) {
  const found = [];
  for (const { headers, body } of games(fs.readFileSync(file, 'utf8'))) {
    const whiteResult = Outcome[headers.Result];
    if (whiteResult === undefined) continue;
    const group = gameIndex.n++ % folds;
    const chess = new Chess(headers.FEN || undefined);
    for (const { san, comment } of moves(body)) {
      const side = chess.turn() === 'w' ? headers.White : headers.Black;
      const score = comment && comment.match(/^\{([+-]?\d+\.\d+)\//);
      if (player.split(',').some((prefix) => side.startsWith(prefix)) && score) {
        const result = chess.turn() === 'w' ? whiteResult : 1 - whiteResult;
        found.push({ s: Math.round(Number(score[1]) * 100), m: material(chess), r: result, group });
      }
      try {
        chess.move(san);
      } catch {
        break;
      }
    }
  }
  return found;
}

const gameIndex = { n: 0 };
const data = files.flatMap((file) => samples(file, gameIndex));
console.log(`${gameIndex.n} games, ${data.length} positions`);

const sigmoid = (z) => 1 / (1 + Math.exp(-z));
const poly = (c, x) => c[0] + x * (c[1] + x * (c[2] + x * c[3]));
const xOf = (m) => Math.min(78, Math.max(17, m)) / 58;

function predict(params, s, m) {
  const x = xOf(m);
  const a = poly(params.slice(0, 4), x), b = Math.max(1, poly(params.slice(4), x));
  const win = sigmoid((s - a) / b), loss = sigmoid((-s - a) / b);
  return { win, draw: Math.max(0, 1 - win - loss), loss };
}

function logLikelihood(params, data) {
  let sum = 0;
  for (const { s, m, r } of data) {
    const p = predict(params, s, m);
    sum += Math.log(Math.max(1e-9, r === 1 ? p.win : r === 0 ? p.loss : p.draw));
  }
  return sum / data.length;
}

// Damped Newton steps on the mean log-likelihood, with derivatives by central
// differences: the cubic's coefficients are strongly correlated, which leaves
// first-order methods wandering along the ridge, while eight parameters make the
// second derivatives cheap.
function solve(a, b) {
  const n = b.length, m = a.map((row, i) => [...row, b[i]]);
  for (let c = 0; c < n; c++) {
    const pivot = m.reduce((best, row, r) => (r >= c && Math.abs(row[c]) > Math.abs(m[best][c]) ? r : best), c);
    [m[c], m[pivot]] = [m[pivot], m[c]];
    for (let r = 0; r < n; r++) {
      if (r === c) continue;
      const f = m[r][c] / m[c][c];
      for (let k = c; k <= n; k++) m[r][k] -= f * m[c][k];
    }
  }
  return m.map((row, i) => row[n] / row[i]);
}

function maximise(data, start) {
  let params = start.slice(), value = logLikelihood(params, data), damping = 1e-3;
  const h = 0.5, n = params.length;
  const at = (d) => logLikelihood(params.map((p, i) => p + (d[i] || 0)), data);
  const unit = (i, x) => Object.assign(new Array(n).fill(0), { [i]: x });
  for (let step = 0; step < 100 && damping < 1e9; step++) {
    const grad = params.map((_, i) => (at(unit(i, h)) - at(unit(i, -h))) / (2 * h));
    const hess = params.map((_, i) =>
      params.map((_, j) => {
        const d = (x, y) => at(Object.assign(unit(i, x), { [j]: (i === j ? x : 0) + y }));
        return (d(h, h) - d(h, -h) - d(-h, h) + d(-h, -h)) / (4 * h * h);
      }));
    // Ascend: solve (damping * I - H) delta = grad.
    const delta = solve(hess.map((row, i) => row.map((x, j) => (i === j ? damping : 0) - x)), grad);
    const candidate = params.map((p, i) => p + delta[i]);
    const candidateValue = logLikelihood(candidate, data);
    if (candidateValue > value) {
      const gain = candidateValue - value;
      [params, value, damping] = [candidate, candidateValue, damping / 10];
      if (gain < 1e-9) break;
    } else {
      damping *= 10;
    }
  }
  return params;
}

const Start = [150, 0, 0, 0, 80, 0, 0, 0];
const params = maximise(data, Start);
const fmt = (c) => c.map((x) => x.toFixed(2)).join(', ');
console.log(`mean log-likelihood ${logLikelihood(params, data).toFixed(4)}`);
console.log(`constexpr WdlModel Model{{${fmt(params.slice(0, 4))}}, {${fmt(params.slice(4))}}};`);

// Each position predicted by the model fitted without its game's group.
const predicted = [];
let heldLikelihood = 0;
for (let g = 0; g < folds; g++) {
  const others = maximise(data.filter((d) => d.group !== g), params);
  const held = data.filter((d) => d.group === g);
  heldLikelihood += logLikelihood(others, held) * held.length;
  for (const d of held) predicted.push({ ...d, p: predict(others, d.s, d.m) });
}
console.log(`mean log-likelihood of each group under the model fitted on the others: ` +
            `${(heldLikelihood / data.length).toFixed(4)}`);

const bands = [-Infinity, -300, -150, -75, -25, 25, 75, 150, 300, Infinity];
console.log('\nscore band     positions  predicted W/D/L (%)   observed W/D/L (%)   expected  observed score');
for (let i = 0; i + 1 < bands.length; i++) {
  const inBand = predicted.filter(({ s }) => s >= bands[i] && s < bands[i + 1]);
  if (inBand.length === 0) continue;
  const mean = (f) => (100 * inBand.reduce((sum, d) => sum + f(d), 0)) / inBand.length;
  const name = `${bands[i] === -Infinity ? '' : bands[i]}..${bands[i + 1] === Infinity ? '' : bands[i + 1]}`;
  const shares = (w, d, l) => [mean(w), mean(d), mean(l)].map((x) => x.toFixed(0).padStart(3)).join(' / ');
  console.log(`${name.padEnd(12)} ${String(inBand.length).padStart(9)}  ` +
              `${shares((d) => d.p.win, (d) => d.p.draw, (d) => d.p.loss)}        ` +
              `${shares((d) => d.r === 1, (d) => d.r === 0.5, (d) => d.r === 0)}        ` +
              `${mean((d) => d.p.win + d.p.draw / 2).toFixed(1).padStart(5)}     ${mean((d) => d.r).toFixed(1).padStart(5)}`);
}
