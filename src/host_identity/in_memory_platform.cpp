#include "host_identity/in_memory_platform.h"

#include <algorithm>
#include <cstring>

namespace hostcode {

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  });
  return text;
}

}  // namespace

void InMemoryPlatform::AddKey(const std::string& keyPath) { keys_[Lower(keyPath)]; }

void InMemoryPlatform::SetValue(const std::string& keyPath, const std::string& valueName,
                                std::uint32_t type, std::string bytes) {
  keys_[Lower(keyPath)].values[Lower(valueName)] = {type, std::move(bytes)};
}

void InMemoryPlatform::RefuseAccess(const std::string& keyPath, std::uint32_t access) {
  refused_.insert({Lower(keyPath), access});
}

void InMemoryPlatform::ChangeValueAfterSizeQuery(const std::string& keyPath,
                                                 const std::string& valueName, std::string bytes) {
  pendingChanges_[{Lower(keyPath), Lower(valueName)}] = std::move(bytes);
}

std::optional<std::int32_t> InMemoryPlatform::InjectedFault(Call kind) {
  if (failingIndex_ && failingIndex_->first == calls_.size()) return failingIndex_->second;
  if (const auto it = failingKinds_.find(kind); it != failingKinds_.end()) return it->second;
  return std::nullopt;
}

std::int32_t InMemoryPlatform::Record(CallRecord record) {
  calls_.push_back(std::move(record));  // room was reserved when the call began
  return calls_.back().result;
}

std::int32_t InMemoryPlatform::RegOpenKeyExA(RegKey parent, const char* subKey,
                                             std::uint32_t access, RegKey& result) {
  calls_.reserve(calls_.size() + 1);
  CallRecord record{Call::kOpen, {}, {}, access, kErrorSuccess};
  if (parent == kHKeyLocalMachine) {
    record.keyPath = Lower(subKey);
  } else if (const auto it = handles_.find(parent); it != handles_.end()) {
    record.keyPath = it->second + "\\" + Lower(subKey);
  } else {
    record.result = kErrorInvalidHandle;
    return Record(std::move(record));
  }

  if (const auto fault = InjectedFault(Call::kOpen)) {
    record.result = *fault;
  } else if (!keys_.count(record.keyPath)) {
    record.result = kErrorFileNotFound;
  } else if (refused_.count({record.keyPath, access})) {
    record.result = kErrorAccessDenied;
  } else {
    handles_.emplace(nextHandle_, record.keyPath);
    result = nextHandle_++;
  }
  return Record(std::move(record));
}

std::int32_t InMemoryPlatform::RegQueryValueExA(RegKey key, const char* valueName,
                                                std::uint32_t* type, unsigned char* data,
                                                std::uint32_t* size) {
  calls_.reserve(calls_.size() + 1);
  const Call kind = data == nullptr ? Call::kSizeQuery : Call::kDataQuery;
  CallRecord record{kind, {}, valueName, 0, kErrorSuccess};
  const auto handle = handles_.find(key);
  if (handle == handles_.end()) {
    record.result = kErrorInvalidHandle;
    return Record(std::move(record));
  }
  record.keyPath = handle->second;
  if (const auto fault = InjectedFault(kind)) {
    record.result = *fault;
    return Record(std::move(record));
  }

  Key& stored = keys_.at(record.keyPath);  // an open handle names an existing key
  const auto found = stored.values.find(Lower(valueName));
  if (found == stored.values.end()) {
    record.result = kErrorFileNotFound;
    return Record(std::move(record));
  }
  Value& value = found->second;
  const auto length = static_cast<std::uint32_t>(value.bytes.size());
  if (type != nullptr) *type = value.type;
  if (data == nullptr) {
    if (size != nullptr) *size = length;
    const auto change = pendingChanges_.find({record.keyPath, Lower(valueName)});
    if (change != pendingChanges_.end()) {
      value.bytes = std::move(change->second);
      pendingChanges_.erase(change);
    }
  } else if (size == nullptr || *size < length) {
    if (size != nullptr) *size = length;
    record.result = kErrorMoreData;
  } else {
    std::memcpy(data, value.bytes.data(), length);
    *size = length;
  }
  return Record(std::move(record));
}

void InMemoryPlatform::RegCloseKey(RegKey key) noexcept {
  try {
    calls_.reserve(calls_.size() + 1);
  } catch (...) {
    // Without room for the record the key is still closed.
  }
  CallRecord record{Call::kClose, {}, {}, 0, kErrorSuccess};
  const auto handle = handles_.find(key);
  if (handle == handles_.end()) {
    ++badCloses_;
    record.result = kErrorInvalidHandle;
  } else {
    record.keyPath = std::move(handle->second);
    handles_.erase(handle);
    // An injected failure is reported, but the handle is gone all the same.
    if (const auto fault = InjectedFault(Call::kClose)) record.result = *fault;
  }
  if (calls_.size() < calls_.capacity()) calls_.push_back(std::move(record));
}

}  // namespace hostcode
