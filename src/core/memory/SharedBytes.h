// The memory image's bytes, shared between the workspace and the jobs that read them: copies share one buffer,
// and a change through a handle whose buffer is shared copies it first, so a job's snapshot never changes
// under it and starting a job copies nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace tavrik {

class SharedBytes {
  public:
    using value_type = uint8_t;
    using size_type = size_t;
    using const_iterator = const uint8_t*;
    using iterator = const uint8_t*;

    SharedBytes() = default;
    SharedBytes(std::vector<uint8_t> bytes) : Bytes(std::make_shared<std::vector<uint8_t>>(std::move(bytes))) {}
    SharedBytes& operator=(std::vector<uint8_t> bytes) {
        Bytes = std::make_shared<std::vector<uint8_t>>(std::move(bytes));
        return *this;
    }

    size_t size() const { return View().size(); }
    bool empty() const { return View().empty(); }
    const uint8_t* data() const { return View().data(); }
    const uint8_t* begin() const { return data(); }
    const uint8_t* end() const { return data() + size(); }
    uint8_t operator[](size_t i) const { return View()[i]; }
    uint8_t at(size_t i) const { return View().at(i); }
    operator const std::vector<uint8_t>&() const { return View(); }

    // The bytes to change, this handle's own from now on.
    std::vector<uint8_t>& Mutable() {
        if (!Bytes)
            Bytes = std::make_shared<std::vector<uint8_t>>();
        else if (Bytes.use_count() > 1)
            Bytes = std::make_shared<std::vector<uint8_t>>(*Bytes);
        return *Bytes;
    }
    uint8_t& operator[](size_t i) { return Mutable()[i]; }
    void resize(size_t count) { Mutable().resize(count); }
    void assign(size_t count, uint8_t value) { *this = std::vector<uint8_t>(count, value); }
    template <typename Iterator> void assign(Iterator first, Iterator last) {
        *this = std::vector<uint8_t>(first, last);
    }

    // What a job reads: these bytes as they are now, whatever happens to this handle later.
    std::shared_ptr<const std::vector<uint8_t>> Snapshot() const {
        return Bytes ? std::shared_ptr<const std::vector<uint8_t>>(Bytes)
                     : std::make_shared<const std::vector<uint8_t>>();
    }

    friend bool operator==(const SharedBytes& a, const SharedBytes& b) { return a.View() == b.View(); }
    friend bool operator==(const SharedBytes& a, const std::vector<uint8_t>& b) { return a.View() == b; }

  private:
    std::shared_ptr<std::vector<uint8_t>> Bytes;

    const std::vector<uint8_t>& View() const {
        static const std::vector<uint8_t> none;
        return Bytes ? *Bytes : none;
    }
};

} // namespace tavrik
