#include "engine/scan_and_fix_thread.h"

#include <utility>

#include "engine/registration_lists.h"
#include "sysaccess/clock.h"
#include "sysaccess/system.h"

namespace corrivo {
namespace {

// Between a request and the moment the worker takes it up, the pages' progress formulas give
// a position of 0 or nearly 0.
constexpr std::int32_t kRequestedTotal = 10000;

class SpinGuard {
 public:
  explicit SpinGuard(std::atomic_flag& flag) : flag_(flag) {
    while (flag_.test_and_set(std::memory_order_acquire)) {
    }
  }
  ~SpinGuard() { flag_.clear(std::memory_order_release); }
  SpinGuard(const SpinGuard&) = delete;
  SpinGuard& operator=(const SpinGuard&) = delete;

 private:
  std::atomic_flag& flag_;
};

// The fix list holds item indexes as decimal text. Anything else names no item.
bool ParseItemIndex(const std::wstring& text, int* index) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && text[begin] == L' ') ++begin;
  while (end > begin && text[end - 1] == L' ') --end;
  if (begin < end && text[begin] == L'+') ++begin;
  if (begin == end || end - begin > 9) return false;
  int value = 0;
  for (std::size_t i = begin; i < end; ++i) {
    if (text[i] < L'0' || text[i] > L'9') return false;
    value = value * 10 + (text[i] - L'0');
  }
  *index = value;
  return true;
}

template <typename T>
void Release(std::vector<T>& list) {
  std::vector<T>().swap(list);
}

}  // namespace

TScanAndFixThread::TScanAndFixThread(System& system, ScanItemActions& actions)
    : system_(system), actions_(actions), worker_(WorkerThread::CreateSuspended([this] { Execute(); })) {}

TScanAndFixThread::~TScanAndFixThread() {
  Stop();
  Terminate();
  WaitFor();
}

void TScanAndFixThread::Init() {
  ScanDone.store(1);
  FixDone.store(1);
  IeDone.store(1);
  WmpDone.store(1);
  Total.store(100);
  Done.store(1);
  Windows = WindowsVersion::XP;
  StopRequested.store(0);
  {
    SpinGuard guard(handoff_);
    fixList_.clear();
  }
  ClearResults();
  Descriptions.clear();
  for (int index = 0; index < kScanItemCount; ++index) {
    Descriptions.emplace_back(ScanItemDescription(index));
  }
  IeCommands = IeRegistrationCommands();
  WmpCommands = WmpRegistrationCommands();
  Offered.fill(1);
}

void TScanAndFixThread::SetOfferedFlags() {
  for (int index = 0; index < kScanItemCount; ++index) {
    Offered[index] = ScanItemOffered(index, Windows) ? 1 : 0;
  }
}

void TScanAndFixThread::Resume() {
  resumed_.store(true, std::memory_order_release);
  for (Task task : {kScan, kFix, kIe, kWmp}) {
    if (FinishedFlag(task).load(std::memory_order_acquire) == 0) RunWorkerIfResumed();
  }
}

void TScanAndFixThread::RunWorkerIfResumed() {
  // Never under handoff_: the worker may be created and scheduled here.
  if (worker_ && resumed_.load(std::memory_order_acquire)) worker_->Resume();
}

void TScanAndFixThread::Terminate() {
  if (worker_) worker_->RequestTerminate();
}

bool TScanAndFixThread::Terminated() const { return worker_ && worker_->TerminateRequested(); }

bool TScanAndFixThread::WaitForEnd(std::uint32_t ms) { return !worker_ || worker_->JoinFor(ms); }

void TScanAndFixThread::WaitFor() {
  if (worker_) worker_->Join();
}

std::atomic<std::uint8_t>& TScanAndFixThread::FinishedFlag(Task task) {
  switch (task) {
    case kScan: return ScanDone;
    case kFix: return FixDone;
    case kIe: return IeDone;
    default: return WmpDone;
  }
}

void TScanAndFixThread::StartScan() { Start(kScan); }
void TScanAndFixThread::StartFix(std::vector<std::wstring> list) {
  {
    SpinGuard guard(handoff_);
    fixList_.swap(list);
    StartLocked(kFix);
  }
  RunWorkerIfResumed();
  // `list` now holds the previous list; it is freed here, outside the guard.
}
void TScanAndFixThread::StartIeRegister() { Start(kIe); }
void TScanAndFixThread::StartWmpRegister() { Start(kWmp); }

void TScanAndFixThread::Start(Task task) {
  {
    SpinGuard guard(handoff_);
    StartLocked(task);
  }
  RunWorkerIfResumed();
}

void TScanAndFixThread::StartLocked(Task task) {
  requests_[task].fetch_add(1, std::memory_order_relaxed);
  requestStops_[task].store(stops_.load(std::memory_order_relaxed), std::memory_order_relaxed);
  Total.store(kRequestedTotal, std::memory_order_relaxed);
  StopRequested.store(0, std::memory_order_relaxed);
  FinishedFlag(task).store(0, std::memory_order_release);
}

void TScanAndFixThread::Stop() {
  // The count makes the stop stick to every task requested before it, running or still
  // waiting its turn, even if a new request clears StopRequested before the worker looks.
  stops_.fetch_add(1, std::memory_order_acq_rel);
  StopRequested.store(1, std::memory_order_release);
}

RepairArgs TScanAndFixThread::Args() const {
  RepairArgs args;
  args.windows = Windows;
  args.ieVersionName = IEVersionName;
  return args;
}

bool TScanAndFixThread::CheckItem(int index) {
  const int id = ScanItemCheckId(index, Windows);
  if (id == 0) return false;
  return actions_.Check(id, Args());
}

void TScanAndFixThread::FixItem(int index) {
  const int id = ScanItemFixId(index);
  if (id == 0) return;
  actions_.Fix(id, Args());
  if (FixRefusal.empty()) FixRefusal = actions_.LastRefusal();
}

void TScanAndFixThread::ClearResults() { Results.clear(); }

void TScanAndFixThread::Execute() {
  while (!Terminated()) {
    if (ScanDone.load(std::memory_order_acquire) == 0 && !Terminated()) RunTask(kScan);
    if (FixDone.load(std::memory_order_acquire) == 0 && !Terminated()) RunTask(kFix);
    if (IeDone.load(std::memory_order_acquire) == 0 && !Terminated()) RunTask(kIe);
    if (WmpDone.load(std::memory_order_acquire) == 0 && !Terminated()) RunTask(kWmp);
    system_.clock.SleepMs(kIdlePollMs);
  }
  {
    std::vector<std::wstring> pending;  // freed after the guard is let go
    SpinGuard guard(handoff_);
    pending.swap(fixList_);
  }
  Release(Descriptions);
  ClearResults();
}

void TScanAndFixThread::RunTask(Task task) {
  Ticket ticket;
  // The run takes the list that came with the request it answers; a click while the run still
  // ends its step brings a new list for the next run.
  std::vector<std::wstring> entries;
  {
    SpinGuard guard(handoff_);
    ticket.request = requests_[task].load(std::memory_order_relaxed);
    ticket.stops = requestStops_[task].load(std::memory_order_relaxed);
    if (task == kFix) entries.swap(fixList_);
  }
  switch (task) {
    case kScan: ScanTask(ticket); break;
    case kFix: FixTask(ticket, entries); break;
    case kIe: RegisterTask(ticket, IeCommands, kIePauseMs); break;
    default: RegisterTask(ticket, WmpCommands, kWmpPauseMs); break;
  }
  FinishTask(task, ticket);
}

bool TScanAndFixThread::StopNow(const Ticket& ticket) const {
  // Closing the window stops the task as well; a termination request alone does the same so
  // that the worker never outlives a close by a whole task.
  return StopRequested.load(std::memory_order_acquire) != 0 ||
         stops_.load(std::memory_order_acquire) != ticket.stops || Terminated();
}

void TScanAndFixThread::FinishTask(Task task, const Ticket& ticket) {
  SpinGuard guard(handoff_);
  // A request made while this run went on (possibly after a stop) is answered by a fresh run:
  // the flag stays 0 and Execute takes the task up again.
  if (requests_[task].load(std::memory_order_relaxed) != ticket.request) return;
  // Release: the results of the run are visible to the window once it sees the flag at 1.
  FinishedFlag(task).store(1, std::memory_order_release);
}

// Done is reset before Total is published at the start of each task (both sequentially
// consistent) so that a page reading Total and then Done never pairs the new Total with the
// previous task's final Done, which could put the progress bar far past its end for one pass.

void TScanAndFixThread::ScanTask(const Ticket& ticket) {
  ClearResults();
  Done.store(1);
  Total.store(kScanItemCount);
  for (int index = 0; index < kScanItemCount; ++index) {
    if (StopNow(ticket)) break;
    ScanResult result;
    result.Description = index < static_cast<int>(Descriptions.size()) ? Descriptions[index] : L"";
    result.Problem = CheckItem(index) ? 1 : 0;
    result.Index = index;
    result.Offered = Offered[index];
    Results.push_back(std::move(result));
    Done.fetch_add(1);
    system_.clock.SleepMs(kScanPauseMs);
  }
}

void TScanAndFixThread::FixTask(const Ticket& ticket, const std::vector<std::wstring>& entries) {
  Done.store(1);
  Total.store(static_cast<std::int32_t>(entries.size()) + 1);
  FixRefusal.clear();
  for (const std::wstring& entry : entries) {
    if (StopNow(ticket)) break;
    // An entry that names no record of the last scan repairs nothing but still counts as a
    // step, so that the progress bar reaches its end.
    int position = 0;
    if (ParseItemIndex(entry, &position) && position < static_cast<int>(Results.size())) {
      FixItem(Results[position].Index);
    }
    Done.fetch_add(1);
    system_.clock.SleepMs(kFixPauseMs);
  }
}

void TScanAndFixThread::RegisterTask(const Ticket& ticket, const std::vector<std::wstring>& commands,
                                     std::uint32_t pauseMs) {
  Done.store(1);
  // Never 0: the pages divide by it (the lists are never empty once Init has run).
  Total.store(commands.empty() ? 1 : static_cast<std::int32_t>(commands.size()));
  for (const std::wstring& entry : commands) {
    if (StopNow(ticket)) break;
    // Launched, never waited for; a launch that fails is skipped without notice.
    system_.commands.Run(RegistrationParameters(entry), CommandWorld::BothWorlds);
    Done.fetch_add(1);
    system_.clock.SleepMs(pauseMs);
  }
}

}  // namespace corrivo
