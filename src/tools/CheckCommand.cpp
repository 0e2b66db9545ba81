#include "rules/RulesDatabase.h"
#include "tools/Commands.h"
#include "tools/ToolPrompt.h"

#include <cstdint>
#include <cstdlib>
#include <iostream>
#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

// The rules are tens of thousands of small entries that live until the end, so loading them
// is mostly touching fresh heap memory; on a large data set the page faults of doing so 4 KB
// at a time cost more than reading the files. So the heap grows in one large step, held in
// huge pages where the system allows them (a fault per 2 MB), and keeps what is freed for
// the entries that follow. Only what is touched is taken: the step is address space, not
// memory. Without huge pages everything works as before.
void PrepareHeapForRules() {
#if defined(__GLIBC__)
    constexpr size_t step = size_t{64} << 20;
    mallopt(M_MMAP_THRESHOLD, 32 << 20); // large tables from the same heap, not mapped apart
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(2 * step));
    mallopt(M_TOP_PAD, static_cast<int>(step));
    void* grow = std::malloc(256 * 1024); // beyond the start-up heap: grows it by the pad
    if (grow == nullptr)
        return;
    const auto begin = reinterpret_cast<uintptr_t>(grow);
    std::free(grow);
    const auto end = reinterpret_cast<uintptr_t>(sbrk(0));
    constexpr uintptr_t huge = uintptr_t{2} << 20;
    const uintptr_t first = (begin + huge - 1) & ~(huge - 1);
    if (end > first)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#endif // other C libraries keep their own heap policy
}

} // namespace

int CommandCheck(const std::string& dataDirectory, bool answerYes) {
    PrepareHeapForRules();
    ToolPrompt prompt(answerYes);
    // Never destroyed: the process ends right after, and the system takes its memory back in
    // one step, where destroying it would free tens of thousands of entries one by one. The
    // static pointer keeps it reachable, so a leak checker does not count it as lost.
    static RulesDatabase* const db = new RulesDatabase;
    if (!LoadRulesDatabase(*db, dataDirectory, prompt))
        return 1;
    std::cout << "races=" << db->raceTable.races.size()
              << " disciplines=" << db->disciplineList.disciplines.size()
              << " talents=" << db->talentTable.Count() << " skills=" << db->skillTable.Count()
              << " spells=" << db->spellTable.Count() << " items=" << db->equipmentDatabase.Count()
              << '\n';
    return 0; // main flushes and checks standard output
}
