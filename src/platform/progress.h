#pragma once

#include <QElapsedTimer>
#include <QString>

#include <cstdio>

namespace zelvan::platform {

// Progress of long work (the stock valuation runs one query per item).
// step() is cheap: what is shown is refreshed at most a few times a second.
class Progress
{
public:
    virtual ~Progress() = default;

    // `total` units of work are ahead (0 when not known).
    void start(const QString &label, qint64 total);
    // One more unit done; `done` is the count so far.
    void step(qint64 done)
    {
        if (!m_timer.isValid() || m_timer.elapsed() < m_nextRefresh)
            return;
        m_nextRefresh = m_timer.elapsed() + RefreshMs;
        show(m_label, done, m_total);
    }
    void finish();

    // "label: done / total", or "label: done" when the total is not known.
    static QString text(const QString &label, qint64 done, qint64 total);

    // Short work shows nothing; longer work is refreshed a few times a second.
    static constexpr qint64 DelayMs = 500;
    static constexpr qint64 RefreshMs = 200;

protected:
    virtual void show(const QString &label, qint64 done, qint64 total) = 0;
    virtual void hide() = 0;

private:
    QString m_label;
    qint64 m_total = 0;
    QElapsedTimer m_timer;
    qint64 m_nextRefresh = 0;
};

// Shows nothing.
class SilentProgress : public Progress
{
protected:
    void show(const QString &, qint64, qint64) override {}
    void hide() override {}
};

// One line on a terminal, rewritten in place (only when it is a terminal).
class TerminalProgress : public Progress
{
public:
    explicit TerminalProgress(FILE *out = stderr);

protected:
    void show(const QString &label, qint64 done, qint64 total) override;
    void hide() override;

private:
    FILE *m_out;
    bool m_enabled;
    bool m_shown = false;
};

} // namespace zelvan::platform
