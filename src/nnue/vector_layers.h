// The network's vector code, written once for any register width. Each vector
// source file includes this header after defining its instruction set as a record
// of register operations (the Isa parameter below) and is compiled for that
// instruction set alone. Everything here therefore has internal linkage: a copy
// compiled for a wider set must never stand in for a narrower one at link time.
//
// Isa provides: Vec, Bytes (register width), load, store, zero, add16, sub16,
// add32, broadcast32, clipped_bytes (two registers of int16 to one of bytes
// clamped to 0..127, in order), nonzero_groups (a bit per four bytes that are not
// all zero), dot4 (adds to each int32 lane the four products of unsigned input
// bytes and signed weight bytes), hidden_bytes (32 int32 sums to 32 bytes
// clamp(sum >> 6, 0, 127), in order), and two operations on 128 bits whatever the
// width: append_groups (see BitPositions below) and output_sum (the 32 hidden
// bytes times the 32 output weights).
//
// The forward pass reads the int8 copies of the hidden layers, where four
// consecutive inputs form a group and each output's four weights lie side by side:
// one broadcast group of inputs meets all 32 outputs in 128 bytes. Inputs at or
// below zero add nothing, so only the groups holding a positive input are visited.
// All sums are exact integers, added modulo 2^32 in whatever order: the results
// equal the scalar pass bit for bit.
#pragma once

#include <cstdint>
#include <cstring>

#include "nnue/nnue.h"

namespace {
constexpr int GroupBytes = 4 * NnueHiddenWidth;  // the weights of one group of four inputs
constexpr int Hidden1Groups = NnueHidden1Inputs / 4;
constexpr int Hidden2Groups = NnueHiddenWidth / 4;

template <class Isa>
struct Layer {
  using Vec = typename Isa::Vec;
  // 32 int32 sums in Regs registers; with fewer than 8 registers the groups are
  // spread over several sets of sums, so the additions do not wait on each other.
  static constexpr int Regs = 4 * NnueHiddenWidth / Isa::Bytes;
  static constexpr int Sets = Regs >= 8 ? 1 : 8 / Regs;

  static void add_group(Vec* sums, const uint8_t* input, int group, const int8_t* weights) {
    int32_t four;
    memcpy(&four, input + 4 * group, 4);
    Vec in = Isa::broadcast32(four);
    const int8_t* row = weights + group * GroupBytes;
    for (int r = 0; r < Regs; ++r) sums[r] = Isa::dot4(sums[r], in, Isa::load(row + r * Isa::Bytes));
  }

  // out = biases + the weights of the listed groups times their inputs.
  static void affine(const uint8_t* input, const uint16_t* groups, int count, const int8_t* weights,
                     const int32_t* biases, Vec out[Regs]) {
    Vec sums[Sets][Regs];
    for (int s = 0; s < Sets; ++s)
      for (int r = 0; r < Regs; ++r) sums[s][r] = s == 0 ? Isa::load(biases + r * Isa::Bytes / 4) : Isa::zero();
    int k = 0;
    for (; k + Sets <= count; k += Sets)
      for (int s = 0; s < Sets; ++s) add_group(sums[s], input, groups[k + s], weights);
    for (; k < count; ++k) add_group(sums[0], input, groups[k], weights);
    for (int r = 0; r < Regs; ++r) {
      out[r] = sums[0][r];
      for (int s = 1; s < Sets; ++s) out[r] = Isa::add32(out[r], sums[s][r]);
    }
  }
};

// For every byte value, the positions of its set bits, lowest first. With it
// Isa::append_groups(bits, first, groups, count) appends first + the positions of
// the set bits of an 8-bit mask to the list, lowest first, without a branch per
// bit (one 128-bit addition), and returns the new count; it writes up to 8 entries
// beyond the count.
struct BitPositions {
  alignas(16) uint16_t at[256][8];
};
constexpr BitPositions make_bit_positions() {
  BitPositions table{};
  for (int bits = 0; bits < 256; ++bits)
    for (int b = 0, n = 0; b < 8; ++b)
      if (bits >> b & 1) table.at[bits][n++] = uint16_t(b);
  return table;
}
constexpr BitPositions BitPositionsOfByte = make_bit_positions();

template <class Isa>
int vector_forward_pass(const NnuePlyData& ply, int side) {
  using L = Layer<Isa>;
  const NetworkTables& w = NetworkWeights;
  alignas(64) uint8_t input[NnueHidden1Inputs];
  alignas(64) uint8_t hidden1[NnueHiddenWidth];
  alignas(64) uint8_t hidden2[NnueHiddenWidth];
  uint16_t groups[Hidden1Groups + 8];
  int count = 0;

  // Side to move first; each register of bytes also lists its groups that count.
  for (int half = 0; half < 2; ++half) {
    const int16_t* acc = ply.accumulator[(side != 0) ^ half];
    for (int k = 0; k < NnueHalfWidth; k += Isa::Bytes) {
      typename Isa::Vec bytes = Isa::clipped_bytes(Isa::load(acc + k), Isa::load(acc + k + Isa::Bytes / 2));
      int at = half * NnueHalfWidth + k;
      Isa::store(input + at, bytes);
      uint32_t mask = Isa::nonzero_groups(bytes);
      for (int b = 0; b < Isa::Bytes / 4; b += 8)
        count = Isa::append_groups(mask >> b & 0xFF, at / 4 + b, groups, count);
    }
  }

  typename Isa::Vec sums[L::Regs];
  L::affine(input, groups, count, w.Hidden1Packed, w.Hidden1Biases, sums);
  Isa::hidden_bytes(sums, hidden1);

  // The second layer is small enough to take every group.
  static constexpr uint16_t AllGroups[Hidden2Groups] = {0, 1, 2, 3, 4, 5, 6, 7};
  L::affine(hidden1, AllGroups, Hidden2Groups, w.Hidden2Packed, w.Hidden2Biases, sums);
  Isa::hidden_bytes(sums, hidden2);

  int32_t output = int32_t(uint32_t(Isa::output_sum(hidden2, w.OutputPacked)) + uint32_t(w.OutputBias));
  return output / 16;
}

// out = base - removed rows + added rows, in tiles of up to 16 registers: each
// tile loaded once, corrected by every row and stored once. The int16 additions
// wrap, so the order of the rows never matters.
template <class Isa>
void vector_add_feature_rows(int16_t* out, const int16_t* base, const FeatureList& removed, const FeatureList& added) {
  constexpr int Lanes = Isa::Bytes / 2;
  constexpr int TileRegs = NnueHalfWidth / Lanes < 16 ? NnueHalfWidth / Lanes : 16;
  constexpr int TileValues = TileRegs * Lanes;
  static_assert(NnueHalfWidth % TileValues == 0);
  const int16_t* weights = NetworkWeights.FeatureWeights;
  for (int t = 0; t < NnueHalfWidth; t += TileValues) {
    typename Isa::Vec tile[TileRegs];
    for (int r = 0; r < TileRegs; ++r) tile[r] = Isa::load(base + t + r * Lanes);
    for (int i = 0; i < removed.count; ++i) {
      const int16_t* row = weights + size_t(removed.index[i]) * NnueHalfWidth + t;
      for (int r = 0; r < TileRegs; ++r) tile[r] = Isa::sub16(tile[r], Isa::load(row + r * Lanes));
    }
    for (int i = 0; i < added.count; ++i) {
      const int16_t* row = weights + size_t(added.index[i]) * NnueHalfWidth + t;
      for (int r = 0; r < TileRegs; ++r) tile[r] = Isa::add16(tile[r], Isa::load(row + r * Lanes));
    }
    for (int r = 0; r < TileRegs; ++r) Isa::store(out + t + r * Lanes, tile[r]);
  }
}
}  // namespace
