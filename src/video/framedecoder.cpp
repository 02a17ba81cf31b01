#include "video/framedecoder.h"

#include <algorithm>

FrameDecoder::Options FrameDecoder::singleFrame()
{
    Options o;
    o.keepBehind = 0;
    o.keepAhead = 0;
    o.fillInBackground = false;
    o.pace = DecodeSession::Pace::OnlyWhatFrameNeeds;
    return o;
}

std::expected<std::unique_ptr<FrameDecoder>, VideoError> FrameDecoder::open(const QString& path)
{
    return open(path, Options());
}

std::expected<std::unique_ptr<FrameDecoder>, VideoError> FrameDecoder::open(const QString& path, Options options)
{
    auto session = DecodeSession::open(path);
    if (!session)
        return std::unexpected(session.error());
    return std::unique_ptr<FrameDecoder>(new FrameDecoder(std::move(*session), options));
}

FrameDecoder::FrameDecoder(std::unique_ptr<DecodeSession> session, Options options)
    : m_session(std::move(session))
    , m_options(options)
{
    m_options.keepBehind = std::max(0, m_options.keepBehind);
    m_options.keepAhead = std::max(0, m_options.keepAhead);
}

FrameDecoder::~FrameDecoder()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_cancelFill = true;
    }
    m_changed.notify_all();
    if (m_worker.joinable())
        m_worker.join();
}

FrameDecoder::Range FrameDecoder::windowAround(int64_t n) const
{
    return {std::max<int64_t>(0, n - m_options.keepBehind),
            std::min<int64_t>(frameCount() - 1, n + m_options.keepAhead)};
}

void FrameDecoder::keep(int64_t n, const AVFrame& picture, const Range& window)
{
    if (!window.contains(n))
        return;
    FramePtr shared = ShareFrame(&picture);
    if (!shared)
        return;
    {
        std::lock_guard lock(m_mutex);
        m_kept.insert_or_assign(n, std::move(shared));
    }
    m_changed.notify_all();
}

void FrameDecoder::evictOutside(const Range& window)
{
    // The caller holds m_mutex.
    for (auto it = m_kept.begin(); it != m_kept.end();) {
        if (window.contains(it->first))
            ++it;
        else
            it = m_kept.erase(it);
    }
}

bool FrameDecoder::isKept(int64_t n) const
{
    std::lock_guard lock(m_mutex);
    return m_kept.contains(n);
}

void FrameDecoder::waitUntilIdle()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_pendingFill && !m_runningFill; });
}

std::expected<QImage, VideoError> FrameDecoder::frame(int64_t n)
{
    auto decoded = picture(n);
    if (!decoded)
        return std::unexpected(decoded.error());
    QImage image = m_converter.toBgr(**decoded);
    if (image.isNull())
        return std::unexpected(VideoError{
            VideoMessages::WithPath(VideoMessages::errorWorkingWithFile, m_session->path()),
            OperatorDialogs::Icon::Information});
    return image;
}

std::expected<FramePtr, VideoError> FrameDecoder::picture(int64_t n)
{
    const int64_t count = frameCount();
    if (n < 0 || n >= count)
        return std::unexpected(VideoError{
            VideoMessages::WithPath(VideoMessages::FrameOutsideStream(n, count), m_session->path()),
            OperatorDialogs::Icon::Information});

    const Range window = windowAround(n);
    FramePtr picture;
    {
        std::unique_lock lock(m_mutex);
        m_position = n;
        evictOutside(window);
        // The operator has moved away from what the worker decodes.
        const auto away = [&](const std::optional<Range>& fill) {
            return fill && !(fill->last >= window.first && fill->first <= window.last);
        };
        if (away(m_runningFill))
            m_cancelFill = true;
        if (away(m_pendingFill))
            m_pendingFill.reset();
        // A frame the worker is decoding right now is waited for rather than
        // decoded twice.
        m_changed.wait(lock, [&] { return m_kept.contains(n) || !(m_fillGroup && m_fillGroup->contains(n)); });
        if (auto it = m_kept.find(n); it != m_kept.end())
            picture = ShareFrame(it->second.get());
    }

    if (!picture) {
        const auto sink = [&](int64_t frame, const AVFrame& decoded) {
            if (frame == n)
                picture = ShareFrame(&decoded);
            keep(frame, decoded, window);
        };
        if (auto decoded = m_session->decodeThrough(n, sink, m_options.pace); !decoded)
            return std::unexpected(decoded.error());
        if (!picture)
            return std::unexpected(VideoError{
                VideoMessages::WithPath(VideoMessages::errorWorkingWithFile, m_session->path()),
                OperatorDialogs::Icon::Information});
    }

    if (m_options.fillInBackground && m_previous >= 0 && n < m_previous)
        scheduleFillBelow(n);
    m_previous = n;
    return picture;
}

void FrameDecoder::scheduleFillBelow(int64_t n)
{
    // Stepping back: once fewer than half the frames behind the position
    // are kept, decode the missing ones before the operator reaches them.
    const Range window = windowAround(n);
    std::unique_lock lock(m_mutex);
    int64_t missing = n - 1;
    while (missing >= window.first && m_kept.contains(missing))
        --missing;
    if (missing < window.first || n - missing > (m_options.keepBehind + 1) / 2)
        return;
    const Range fill{window.first, missing};
    if (m_runningFill && m_runningFill->contains(fill.last) && !m_cancelFill)
        return;
    m_pendingFill = fill;
    if (!m_worker.joinable())
        m_worker = std::thread([this] { workerLoop(); });
    lock.unlock();
    m_changed.notify_all();
}

void FrameDecoder::workerLoop()
{
    std::unique_ptr<DecodeSession> session;
    while (true) {
        Range fill;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_stopping || m_pendingFill; });
            if (m_stopping)
                break;
            fill = *m_pendingFill;
            m_pendingFill.reset();
            m_runningFill = fill;
            m_cancelFill = false;
        }
        if (!session) {
            // The worker's own reader and decoder, on the index already built.
            auto opened = DecodeSession::open(m_session->path(), m_session->sharedIndex());
            if (opened)
                session = std::move(*opened);
        }
        if (session) {
            const auto sink = [&](int64_t frame, const AVFrame& decoded) {
                Range window;
                {
                    std::lock_guard lock(m_mutex);
                    window = windowAround(m_position);
                }
                if (fill.contains(frame))
                    keep(frame, decoded, window);
            };
            // Nearest frames first: from the top of the range down, one run
            // of decoding per start point (a group of pictures, or a single
            // frame when every frame is a key frame).
            const FrameIndex& index = session->index();
            int64_t f = fill.last;
            while (f >= fill.first && !m_cancelFill) {
                if (isKept(f)) {
                    --f;
                    continue;
                }
                const int64_t start = index.startPacketFor(f);
                int64_t low = f;
                while (low > fill.first && index.startPacketFor(low - 1) == start)
                    --low;
                {
                    std::lock_guard lock(m_mutex);
                    m_fillGroup = Range{low, f};
                }
                const bool decoded = session->decodeThrough(f, sink, DecodeSession::Pace::Everything, &m_cancelFill)
                                         .has_value();
                {
                    std::lock_guard lock(m_mutex);
                    m_fillGroup.reset();
                }
                m_changed.notify_all();
                if (!decoded)
                    break;
                f = low - 1;
            }
        }
        {
            std::lock_guard lock(m_mutex);
            m_runningFill.reset();
        }
        m_changed.notify_all();
    }
}
