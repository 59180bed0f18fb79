#include "document/response_block.h"

namespace tellwright {

int ResponseBlock::usedResponses() const {
  int count = 0;
  while (count < kResponsesPerBlock && responses[count].inUse()) ++count;
  return count;
}

}  // namespace tellwright
