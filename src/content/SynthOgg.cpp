// The usual libvorbisenc sequence: set up a VBR encoder, write the three header packets, feed the
// frames in blocks, flush every page into the output.
#include "content/SynthOgg.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <stdexcept>

namespace {

struct Encoder {
    vorbis_info Info;
    vorbis_comment Comment;
    vorbis_dsp_state Dsp;
    vorbis_block Block;
    ogg_stream_state Stream;
    bool Started = false;

    Encoder() {
        vorbis_info_init(&Info);
        vorbis_comment_init(&Comment);
    }
    ~Encoder() {
        if (Started) {
            ogg_stream_clear(&Stream);
            vorbis_block_clear(&Block);
            vorbis_dsp_clear(&Dsp);
        }
        vorbis_comment_clear(&Comment);
        vorbis_info_clear(&Info);
    }
};

void AppendPages(ogg_stream_state& stream, std::vector<uint8_t>& out, bool flush) {
    ogg_page page;
    while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
        out.insert(out.end(), page.header, page.header + page.header_len);
        out.insert(out.end(), page.body, page.body + page.body_len);
    }
}

void DrainBlocks(Encoder& encoder, std::vector<uint8_t>& out) {
    ogg_packet packet;
    while (vorbis_analysis_blockout(&encoder.Dsp, &encoder.Block) == 1) {
        vorbis_analysis(&encoder.Block, nullptr);
        vorbis_bitrate_addblock(&encoder.Block);
        while (vorbis_bitrate_flushpacket(&encoder.Dsp, &packet)) {
            ogg_stream_packetin(&encoder.Stream, &packet);
            AppendPages(encoder.Stream, out, false);
        }
    }
}

}  // namespace

std::vector<uint8_t> EncodeOggVorbis(const std::vector<float>& frames, int channels, int rate,
                                     float quality) {
    if (channels < 1 || channels > 2) throw std::runtime_error("Ogg: 1 or 2 channels only");
    Encoder encoder;
    if (vorbis_encode_init_vbr(&encoder.Info, channels, rate, quality) != 0)
        throw std::runtime_error("Ogg: the encoder refuses these settings");
    vorbis_comment_add_tag(&encoder.Comment, "ENCODER", "tervolin-tool");
    vorbis_analysis_init(&encoder.Dsp, &encoder.Info);
    vorbis_block_init(&encoder.Dsp, &encoder.Block);
    ogg_stream_init(&encoder.Stream, 0x54657276);
    encoder.Started = true;

    std::vector<uint8_t> out;
    ogg_packet header, comment, codebooks;
    vorbis_analysis_headerout(&encoder.Dsp, &encoder.Comment, &header, &comment, &codebooks);
    ogg_stream_packetin(&encoder.Stream, &header);
    ogg_stream_packetin(&encoder.Stream, &comment);
    ogg_stream_packetin(&encoder.Stream, &codebooks);
    AppendPages(encoder.Stream, out, true);

    const size_t block = 1024;
    size_t total = frames.size() / size_t(channels);
    for (size_t start = 0; start < total; start += block) {
        size_t count = std::min(block, total - start);
        float** buffer = vorbis_analysis_buffer(&encoder.Dsp, int(count));
        for (size_t i = 0; i < count; ++i)
            for (int c = 0; c < channels; ++c)
                buffer[c][i] = frames[(start + i) * size_t(channels) + size_t(c)];
        vorbis_analysis_wrote(&encoder.Dsp, int(count));
        DrainBlocks(encoder, out);
    }
    vorbis_analysis_wrote(&encoder.Dsp, 0);
    DrainBlocks(encoder, out);
    AppendPages(encoder.Stream, out, true);
    return out;
}
