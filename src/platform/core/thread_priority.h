#pragma once
// Threads that only feed another thread run at background priority, so that a thread they
// feed which cannot share its work (a single-threaded encoder) keeps a core to itself: on two
// cores, decoding threads taking turns with it cost it a tenth of its time. The nice value is
// each thread's own on Linux.
#include <string>
#include <vector>

namespace core {

// The ids of the process's threads, as the system numbers them.
std::vector<int> ThreadIds();
// A thread's name (0: the calling one's); "" once it has ended. A thread starts with the name
// of the thread that started it, until it is given one of its own (Qt names its threads).
std::string ThreadName(int threadId = 0);

// Puts a thread (0: the calling one) ten nice levels below the process's main thread; the
// same level however often it is asked. False when the system refuses.
bool RunInBackground(int threadId = 0);

} // namespace core
