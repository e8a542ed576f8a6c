// The lists of the TabIndex and Index windows: one row per control, sorted by
// position on the form (top to bottom, then left to right) with an exchange
// sort that keeps rows with equal positions in collection order, then
// reordered by the user and written back as TabIndex or Index values.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "addin/host_api.h"

namespace tarno::controls {

struct OrderRow {
  int32_t No = 0;          // 1-based position in the designer's VBControls
  std::u16string Name;     // "Text1" or "Command1(2)"
  std::u16string Text;     // Text, else Caption, else ""
  std::u16string Value;    // the TabIndex or Index as text
  int32_t Top = 0, Left = 0;
  bool positioned = true;  // false: the control has no Top or Left (shown empty)
  bool empty = false;      // a slot of the Index table with no array member

  // The six columns as the list shows them.
  std::u16string TopText() const;
  std::u16string LeftText() const;
};

// Exchange sort of the rows by Top, then Left: for p from 0 to n - 1, for j
// from n - 2 down to p, rows j and j + 1 are exchanged when row j + 1 stands
// higher, or as high and further left. Empty or unpositioned rows are never
// compared, so they never move and split the rows around them.
void SortByPosition(std::vector<OrderRow>& rows);

// Row moves of the windows (1-based k); return the row selected afterwards,
// k itself when nothing moved.
int MoveRowUp(std::vector<OrderRow>& rows, int k);
int MoveRowDown(std::vector<OrderRow>& rows, int k);

// --- TabIndex ----------------------------------------------------------------

// Every control of the designer that has TabIndex, Top and Left, sorted.
// Controls without them (timers, lines, menus, shapes, images) are left out.
std::vector<OrderRow> TabIndexRows(ide::VBForm& designer);
// Gives the control of each row, in list order, TabIndex 0, 1, 2, ...;
// returns the number of writes the host refused (they are skipped).
int SetTabIndexes(ide::VBForm& designer, const std::vector<OrderRow>& rows);

// --- Index -------------------------------------------------------------------

struct ArrayRecord {
  std::u16string name;  // trimmed
  int32_t count = 1;    // runs of the collection the array is met in
  int16_t firstIndex = 0;
};

struct IndexTable {
  std::vector<OrderRow> slots;  // one per control, in collection order; empty for non-members
  std::vector<ArrayRecord> arrays;
  // The rows the list shows: the non-empty positioned slots in slot order,
  // then array members without Top or Left in collection order.
  std::vector<OrderRow> Rows() const;
  // True when an array has no free index left (count 32767).
  bool NoFreeIndex() const;
};

IndexTable BuildIndexTable(ide::VBForm& designer);

enum class IndexSetResult { Done, Failed };
// Gives the members of each array 0, 1, 2, ... in list order. The listed
// members first move to free temporary indexes (from 32767 down), so that no
// final value collides with an index still held; when anything fails, every
// listed member gets back the index it had, and Failed is returned.
IndexSetResult SetIndexes(ide::VBForm& designer, const std::vector<ArrayRecord>& arrays,
                          const std::vector<OrderRow>& rows);

}  // namespace tarno::controls
