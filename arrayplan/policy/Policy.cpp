#include "arrayplan/policy/Policy.h"

#include "arrayplan/model/RaidRecords.h"

namespace {

// Adds record to slots unless capacity records are held; a refused record is destroyed here.
template <typename T>
bool addToSlots(std::vector<std::unique_ptr<T>>& slots, std::unique_ptr<T> record, int capacity) {
    if (record == nullptr || static_cast<int>(slots.size()) >= capacity)
        return false;
    slots.push_back(std::move(record));
    return true;
}

template <typename T> T* slotAt(const std::vector<std::unique_ptr<T>>& slots, int index) {
    if (index < 0 || index >= static_cast<int>(slots.size()))
        return nullptr;
    return slots[static_cast<size_t>(index)].get();
}

template <typename T> std::vector<std::unique_ptr<T>> deepCopy(const std::vector<std::unique_ptr<T>>& slots) {
    std::vector<std::unique_ptr<T>> copy;
    copy.reserve(slots.size());
    for (const auto& record : slots)
        copy.push_back(std::make_unique<T>(*record));
    return copy;
}

} // namespace

Policy::Policy() = default;

Policy::Policy(const CString& policyName) : name(policyName) {}

Policy::~Policy() = default;

Policy::Policy(const Policy& other)
    : markedForPlanning(other.markedForPlanning), maxLogicalDriveSize(other.maxLogicalDriveSize),
      rebuildRate(other.rebuildRate), readAhead(other.readAhead), stripeSize(other.stripeSize),
      arrayMode(other.arrayMode), arrayDefaultVariance(other.arrayDefaultVariance),
      arrayDefaultHotSpares(other.arrayDefaultHotSpares), logicalMode(other.logicalMode), init(other.init),
      name(other.name) {
    copySlotsFrom(other);
}

Policy& Policy::operator=(const Policy& other) {
    if (this == &other)
        return *this;
    markedForPlanning = other.markedForPlanning;
    maxLogicalDriveSize = other.maxLogicalDriveSize;
    rebuildRate = other.rebuildRate;
    readAhead = other.readAhead;
    stripeSize = other.stripeSize;
    arrayMode = other.arrayMode;
    arrayDefaultVariance = other.arrayDefaultVariance;
    arrayDefaultHotSpares = other.arrayDefaultHotSpares;
    logicalMode = other.logicalMode;
    init = other.init;
    name = other.name;
    copySlotsFrom(other);
    return *this;
}

void Policy::copySlotsFrom(const Policy& other) {
    appliesTo_ = other.appliesTo_;
    arrays_ = deepCopy(other.arrays_);
    hotSpares_ = deepCopy(other.hotSpares_);
    logicalDrives_ = deepCopy(other.logicalDrives_);
    logicalDefaults_.reset();
    if (other.logicalDefaults_ != nullptr)
        logicalDefaults_ = std::make_unique<RaidLogicalDrive>(*other.logicalDefaults_);
}

void Policy::setArrayDefaults(int variance, int hotSpares) {
    arrayDefaultVariance = variance;
    arrayDefaultHotSpares = hotSpares;
}

bool Policy::addAppliesTo(const CString& machineType, const CString& serialNumber, int controllerNumber,
                          int scanOrder, const CString& controllerType, int driveCount, bool all) {
    AppliesToEntry entry;
    entry.machineType = machineType;
    entry.serialNumber = serialNumber;
    entry.controllerNumber = controllerNumber;
    entry.scanOrder = scanOrder;
    entry.controllerType = controllerType;
    entry.driveCount = driveCount;
    entry.all = all;
    return addAppliesTo(entry);
}

bool Policy::addAppliesTo(const AppliesToEntry& entry) {
    if (appliesToCount() >= kMaxAppliesTo)
        return false;
    appliesTo_.push_back(entry);
    return true;
}

const AppliesToEntry* Policy::appliesToAt(int index) const {
    if (index < 0 || index >= appliesToCount())
        return nullptr;
    return &appliesTo_[static_cast<size_t>(index)];
}

bool Policy::addArray(std::unique_ptr<RaidArray> array) {
    return addToSlots(arrays_, std::move(array), kMaxArrays);
}

RaidArray* Policy::arrayAt(int index) const {
    return slotAt(arrays_, index);
}

void Policy::removeAllArrays() {
    arrays_.clear();
}

bool Policy::addHotSpare(std::unique_ptr<RaidHotSpare> hotSpare) {
    return addToSlots(hotSpares_, std::move(hotSpare), kMaxHotSpares);
}

RaidHotSpare* Policy::hotSpareAt(int index) const {
    return slotAt(hotSpares_, index);
}

void Policy::removeAllHotSpares() {
    hotSpares_.clear();
}

bool Policy::addLogicalDrive(std::unique_ptr<RaidLogicalDrive> logicalDrive) {
    return addToSlots(logicalDrives_, std::move(logicalDrive), kMaxLogicalDrives);
}

RaidLogicalDrive* Policy::logicalDriveAt(int index) const {
    return slotAt(logicalDrives_, index);
}

void Policy::setLogicalDefaults(std::unique_ptr<RaidLogicalDrive> logicalDefaults) {
    logicalDefaults_ = std::move(logicalDefaults);
}
