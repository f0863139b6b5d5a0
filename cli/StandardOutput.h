#pragma once

#include <array>
#include <cerrno>
#include <cstddef>
#include <ostream>
#include <streambuf>
#include <unistd.h>

// Standard output, written with write(2) so that the cause of the first
// failed write is known; nothing is written after it.
class TStandardOutput : public std::streambuf {
public:
    TStandardOutput() { setp(buffer.data(), buffer.data() + buffer.size()); }
    // errno of the failed write, 0 while every write succeeded.
    int Error() const { return error; }

protected:
    int_type overflow(int_type Char) override {
        if (!Drain())
            return traits_type::eof();
        if (!traits_type::eq_int_type(Char, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(Char);
            pbump(1);
        }
        return traits_type::not_eof(Char);
    }
    int sync() override { return Drain() ? 0 : -1; }

private:
    bool Drain() {
        const char* next = pbase();
        while (error == 0 && next < pptr()) {
            const ssize_t wrote =
                ::write(STDOUT_FILENO, next, static_cast<std::size_t>(pptr() - next));
            if (wrote >= 0)
                next += wrote;
            else if (errno != EINTR)
                error = errno;
        }
        setp(buffer.data(), buffer.data() + buffer.size());
        return error == 0;
    }

    std::array<char, 1 << 16> buffer;
    int error = 0;
};

// Why Out, on a TStandardOutput, could not be written: errno of the failed
// write, EIO when the cause is not known.
inline int WriteError(const std::ostream& Out) {
    const auto* output = dynamic_cast<const TStandardOutput*>(Out.rdbuf());
    return output != nullptr && output->Error() != 0 ? output->Error() : EIO;
}
