// The reader leaves an open file just after the stream, so the caller can go on reading.
#include <gtest/gtest.h>

#include "package/class_registry.h"
#include "package/settings_stream.h"
#include "sample_settings.h"
#include "stream_bytes.h"

namespace ss {
namespace {

using test::error_of;

// A source that counts its reads: buffering must keep them to about one per block.
class CountingSource final : public ByteSource {
 public:
  explicit CountingSource(std::span<const uint8_t> bytes) : inner_(bytes) {}
  size_t read(void* buffer, size_t n) override {
    ++reads;
    return inner_.read(buffer, n);
  }
  void seek(int64_t position) override { inner_.seek(position); }
  int64_t position() const override { return inner_.position(); }
  int64_t size() const override { return inner_.size(); }
  int reads = 0;

 private:
  MemorySource inner_;
};

TSSFileLocations many_pictures(int count) {
  TSSFileLocations s = test::sample_settings();
  for (int i = 0; i < count; ++i)
    s.PicCommaList.items().push_back(std::to_string(1000000 + i * 37));
  s.PicFileNamesCommaList.items().assign(static_cast<size_t>(count), "holiday picture.jpg");
  return s;
}

TEST(ReaderPosition, StopsJustAfterTheStreamWhereverItStarts) {
  for (int pictures : {0, 10, 10000}) {  // from well inside one block to many blocks
    const TSSFileLocations settings = many_pictures(pictures);
    const std::vector<uint8_t> stream = write_settings_stream(settings);
    for (size_t offset : {size_t{0}, size_t{1}, size_t{4095}, size_t{5000}}) {
      std::vector<uint8_t> file(offset, 0xAB);
      file.insert(file.end(), stream.begin(), stream.end());
      file.insert(file.end(), {'M', 'U', 'S', 'I', 'C'});
      CountingSource source(file);
      source.seek(static_cast<int64_t>(offset));
      TSSFileLocations read;
      read_stream_into(source, read);
      EXPECT_TRUE(read == settings);
      EXPECT_EQ(source.position(), static_cast<int64_t>(offset + stream.size()));
      EXPECT_LE(source.reads, static_cast<int>(stream.size() / 4096) + 2) << pictures;
    }
  }
}

TEST(ReaderPosition, AfterAFailureStandsAfterTheLastByteConsumed) {
  test::StreamBytes s = test::stream_header("TSSFileLocations");
  s.str("Interval").u8({2, 5});
  const auto before = static_cast<int64_t>(s.size());
  s.str("SoundRandom").u8({6}).str("three").u8({0, 0});
  MemorySource source(s.bytes);
  EXPECT_EQ(error_of([&] { read_stream_record(source); }),
            "Error reading TSSFileLocations.SoundRandom: Invalid property value");
  EXPECT_EQ(source.position(), before + 12 + 1);  // the name and the refused tag
}

}  // namespace
}  // namespace ss
