#include "app/KeptReport.h"

#include <zstd.h>

#include <new>

namespace tarvel {

namespace {

// The fastest level that still finds the report's repetitions: compressing stays well below
// what filling the pane costs.
constexpr int kCompressionLevel = 1;

}  // namespace

void KeptReport::FreeContext::operator()(ZSTD_CCtx_s* context) const {
  ZSTD_freeCCtx(context);
}

KeptReport::KeptReport() : context_(ZSTD_createCCtx()) {
  if (context_ == nullptr) throw std::bad_alloc();
  clear();
}

KeptReport::~KeptReport() = default;

void KeptReport::clear() {
  ZSTD_CCtx_reset(context_.get(), ZSTD_reset_session_and_parameters);
  ZSTD_CCtx_setParameter(context_.get(), ZSTD_c_compressionLevel, kCompressionLevel);
  std::string().swap(compressed_);  // the memory of a long report goes back
  used_ = 0;
  size_ = 0;
  finished_ = false;
}

void KeptReport::append(std::string_view bytes) {
  size_ += bytes.size();
  compress(bytes, false);
}

void KeptReport::finish() {
  if (finished_) return;
  compress({}, true);
  compressed_.resize(used_);
  finished_ = true;
}

void KeptReport::compress(std::string_view input, bool end) {
  ZSTD_inBuffer in{input.data(), input.size(), 0};
  for (;;) {
    // Room for one more block of output: the string's own growth keeps appending cheap, and
    // only what is written to is ever touched.
    if (compressed_.size() - used_ < ZSTD_CStreamOutSize()) {
      compressed_.resize(used_ + ZSTD_CStreamOutSize());
    }
    ZSTD_outBuffer out{compressed_.data() + used_, compressed_.size() - used_, 0};
    const std::size_t left =
        ZSTD_compressStream2(context_.get(), &out, &in, end ? ZSTD_e_end : ZSTD_e_continue);
    // The compressor fails only when it cannot have the memory it works in.
    if (ZSTD_isError(left)) throw std::bad_alloc();
    used_ += out.pos;
    if (end ? left == 0 : in.pos == in.size) return;
  }
}

std::string KeptReport::bytes() const {
  if (!finished_ || size_ == 0) return {};
  std::string report(size_, '\0');
  const std::size_t made =
      ZSTD_decompress(report.data(), report.size(), compressed_.data(), compressed_.size());
  // Only a frame made here is read, into the size counted as it was made.
  if (ZSTD_isError(made) || made != size_) throw std::bad_alloc();
  return report;
}

}  // namespace tarvel
