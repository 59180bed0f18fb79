#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/record_alignment.h"

namespace tellwright {

// Three-way merge of a sequence of records (a branch's lines, a block's
// responses): the records aligned with the base on each side, a record both
// sides kept merged field by field, a stretch only one side changed taken
// from that side. Where both sides changed the same field, or the same
// stretch differently, both versions are kept between markers.

// Takes the side that changed a value; false when both changed it
// differently (`merged` is then ours).
template <typename T>
bool MergeValue(const T& base, const T& ours, const T& theirs, T& merged) {
  if (ours == base) {
    merged = theirs;
  } else {
    merged = ours;
    if (theirs != base && theirs != ours) return false;
  }
  return true;
}

// One version of a sequence: the records and their ids (equal ids: equal
// records).
template <typename Record>
struct SequenceVersion {
  const std::vector<Record>& records;
  std::vector<int> ids;
};

struct SequenceConflict {
  int at = 0;           // position of the opening marker in the merged sequence
  std::string message;  // what the two sides did
};

template <typename Record>
struct MergedSequence {
  std::vector<Record> records;
  std::vector<SequenceConflict> conflicts;
};

// How a kind of record merges: `similarity(base, side)` as AlignRecords takes
// it, `mergeFields(base, ours, theirs, merged)` returning the fields both
// sides changed differently, `marker(text)` a record that marks a conflict,
// and the words for the records in messages ("line", "lines").
template <typename Record>
struct RecordMerging {
  std::function<int(int base, int ours)> similarityOurs;
  std::function<int(int base, int theirs)> similarityTheirs;
  std::function<std::vector<std::string_view>(const Record&, const Record&, const Record&, Record&)> mergeFields;
  std::function<Record(std::string_view text)> marker;
  std::string_view one;
  std::string_view many;
};

// "a", "a and b", "a, b and c".
std::string JoinedNames(const std::vector<std::string_view>& names);

// Writes both versions between the markers of a conflict.
template <typename Record>
void AppendConflict(MergedSequence<Record>& out, const std::vector<Record>& ours, const std::vector<Record>& theirs,
                    const std::function<Record(std::string_view)>& marker, std::string message,
                    std::string_view oursMarker, std::string_view separator, std::string_view theirsMarker) {
  out.conflicts.push_back({static_cast<int>(out.records.size()), std::move(message)});
  out.records.push_back(marker(oursMarker));
  out.records.insert(out.records.end(), ours.begin(), ours.end());
  out.records.push_back(marker(separator));
  out.records.insert(out.records.end(), theirs.begin(), theirs.end());
  out.records.push_back(marker(theirsMarker));
}

// The markers' texts, for the sequence merge below.
struct ConflictMarkers {
  std::string_view ours, separator, theirs;
};

template <typename Record>
MergedSequence<Record> MergeSequence(const SequenceVersion<Record>& base, const SequenceVersion<Record>& ours,
                                     const SequenceVersion<Record>& theirs, const RecordMerging<Record>& how,
                                     const ConflictMarkers& markers) {
  auto range = [](const SequenceVersion<Record>& version, int begin, int end) {
    return std::vector<Record>(version.records.begin() + begin, version.records.begin() + end);
  };
  auto sameIds = [](const SequenceVersion<Record>& a, int aBegin, int aEnd, const SequenceVersion<Record>& b,
                    int bBegin, int bEnd) {
    return aEnd - aBegin == bEnd - bBegin && std::equal(a.ids.begin() + aBegin, a.ids.begin() + aEnd, b.ids.begin() + bBegin);
  };
  const int baseSize = static_cast<int>(base.ids.size());
  const int oursSize = static_cast<int>(ours.ids.size());
  const int theirsSize = static_cast<int>(theirs.ids.size());
  Alignment baseOurs = AlignRecords(base.ids, ours.ids, how.similarityOurs);
  Alignment baseTheirs = AlignRecords(base.ids, theirs.ids, how.similarityTheirs);
  MergedSequence<Record> out;
  auto conflict = [&](const std::vector<Record>& o, const std::vector<Record>& t, std::string message) {
    AppendConflict(out, o, t, how.marker, std::move(message), markers.ours, markers.separator, markers.theirs);
  };
  for (const MergeChunk& c : ThreeWayChunks(baseSize, oursSize, theirsSize, baseOurs, baseTheirs)) {
    if (c.stable) {
      const Record& b = base.records[c.base];
      const Record& o = ours.records[c.ours];
      const Record& t = theirs.records[c.theirs];
      Record merged;
      std::vector<std::string_view> clashes = how.mergeFields(b, o, t, merged);
      if (clashes.empty())
        out.records.push_back(std::move(merged));
      else
        conflict({o}, {t}, "both sides changed the " + JoinedNames(clashes) + " of the " + std::string(how.one));
      continue;
    }
    if (sameIds(ours, c.ours, c.oursEnd, base, c.base, c.baseEnd)) {
      auto records = range(theirs, c.theirs, c.theirsEnd);
      out.records.insert(out.records.end(), records.begin(), records.end());
    } else if (sameIds(theirs, c.theirs, c.theirsEnd, base, c.base, c.baseEnd) ||
               sameIds(ours, c.ours, c.oursEnd, theirs, c.theirs, c.theirsEnd)) {
      auto records = range(ours, c.ours, c.oursEnd);
      out.records.insert(out.records.end(), records.begin(), records.end());
    } else {
      std::string many(how.many);
      std::string message = c.base == c.baseEnd         ? "both sides added " + many + " here"
                            : c.ours == c.oursEnd       ? "ours deleted " + many + " that theirs changed"
                            : c.theirs == c.theirsEnd   ? "theirs deleted " + many + " that ours changed"
                                                        : "both sides changed these " + many;
      conflict(range(ours, c.ours, c.oursEnd), range(theirs, c.theirs, c.theirsEnd), std::move(message));
    }
  }
  return out;
}

// The order of items known by keys (unique within each list), merged three
// way: a move or an insertion on one side is kept; where both sides
// reordered the same stretch, ours comes first. Only keys `kept` says to keep
// are in the result, each once; a kept key that the chosen order left out
// follows the key before it on the side that has it.
std::vector<int> MergeKeyOrder(const std::vector<int>& base, const std::vector<int>& ours,
                               const std::vector<int>& theirs, const std::function<bool(int key)>& kept);

}  // namespace tellwright
