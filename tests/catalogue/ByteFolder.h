#pragma once

// A temporary folder addressed by bytes, so names that are not UTF-8 can be made and removed.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <ftw.h>
#include <stdlib.h>

class ByteFolder {
  public:
    ByteFolder() {
        QByteArray pattern = QFile::encodeName(QDir::tempPath()) + "/quillon-disc-XXXXXX";
        if (mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~ByteFolder() {
        if (!m_path.isEmpty())
            nftw(
                m_path.constData(),
                [](const char* path, const struct stat*, int, FTW*) { return ::remove(path); }, 16,
                FTW_DEPTH | FTW_PHYS);
    }
    ByteFolder(const ByteFolder&) = delete;
    ByteFolder& operator=(const ByteFolder&) = delete;

    QByteArray path() const { return m_path; }
    bool file(const QByteArray& name, const QByteArray& content = "x") const {
        FILE* f = fopen((m_path + '/' + name).constData(), "wb");
        if (!f)
            return false;
        fwrite(content.constData(), 1, size_t(content.size()), f);
        return fclose(f) == 0;
    }

  private:
    QByteArray m_path;
};
