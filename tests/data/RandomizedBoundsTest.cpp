// Thousands of generated texts (fixed seed, so a failure repeats) through
// macro expansion and launch composition, every buffer guarded: a unit read
// or written past any 260-unit buffer faults the test. Results must fit and
// keep the shape their case promises.
#include "DataTestSupport.h"
#include "media_menu/data/Launcher.h"
#include "media_menu/data/PathMacros.h"
#include "tests/support/GuardedBuffer.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/WindowsFolders.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

class TextGenerator {
public:
    explicit TextGenerator(unsigned seed) : m_random(seed) {}

    // A text of at most maxLength units built from pieces that matter to the
    // code: macros in any case, percent signs, quotes, blanks, separators,
    // extensions, and long runs that push against the 259-unit limit.
    std::wstring Next(size_t maxLength) {
        static const wchar_t* const kPieces[] = {L"%ProgramFiles%",
                                                 L"%MYPICTURES%",
                                                 L"%winsysdir%",
                                                 L"%WinDir%",
                                                 L"%SystemRoot%",
                                                 L"%LCID%",
                                                 L"%TEMP%",
                                                 L"%",
                                                 L"\"",
                                                 L" ",
                                                 L"\\",
                                                 L".exe",
                                                 L".CPL",
                                                 L"C:",
                                                 L"x",
                                                 L"http://",
                                                 L"/",
                                                 L"\t",
                                                 L"é",
                                                 L"*"};
        size_t target = Pick(4) == 0 ? maxLength - Pick(3) : Pick(maxLength + 1);
        std::wstring text;
        while (text.size() < target) {
            if (Pick(8) == 0) {
                text.append(Pick(300), static_cast<wchar_t>(L'a' + Pick(26)));
            } else {
                text += kPieces[Pick(ARRAYSIZE(kPieces))];
            }
        }
        text.resize(target);
        return text;
    }

    size_t Pick(size_t bound) { return bound == 0 ? 0 : m_random() % bound; }

private:
    std::mt19937 m_random;
};

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

TEST(RandomizedBoundsTest, ExpansionNeverLeavesItsBuffer) {
    TextGenerator generator(20240601);
    GuardedBuffer text;
    GuardedBuffer value;
    for (int i = 0; i < 4000; ++i) {
        if (generator.Pick(10) == 0) {
            text.FillUnterminated(generator.Next(40) + L"%WinDir%");
            ExpandPathMacros(text.get());
            ASSERT_FALSE(text.IsTerminated()) << "case " << i;
            continue;
        }
        std::wstring input = generator.Next(259);
        text.Assign(input);
        ExpandPathMacros(text.get());
        ASSERT_TRUE(text.IsTerminated()) << "case " << i << ": " << Utf8(input);

        // ReplaceMacro on its own, with values up to the whole buffer.
        text.Assign(input);
        value.Assign(generator.Next(259));
        std::wstring macro = generator.Next(12);
        bool replaced = ReplaceMacro(text.get(), macro.c_str(), value.get());
        std::wstring result = text.Text();
        if (replaced) {
            ASSERT_EQ(input.size() - macro.size() + value.Text().size(), result.size())
                << "case " << i;
        } else {
            ASSERT_EQ(input, result) << "case " << i;
        }
    }
}

class RandomizedLaunchTest : public MediaRegistryTest {
protected:
    ScratchFolder m_root{ProcessScratchPath(L"menu_data")};
};

TEST_F(RandomizedLaunchTest, CompositionFitsAndKeepsTheShapeOfItsCase) {
    // A blank page with the stock association, so the browser case finds a
    // program too. Nothing is launched here.
    WriteRegistryText(HKEY_LOCAL_MACHINE, kTestMachineKey, L"Blank.htm",
                      m_root.AddFile(L"blank.htm", "<html></html>"));
    // Texts that name existing files and folders, some right at the limit,
    // and programs the shell finds on the search path.
    std::vector<std::wstring> known = {m_root.AddFile(L"applet.cpl"), m_root.AddFile(L"a b.exe"),
                                       m_root.AddFolder(L"sub dir"), L"notepad.exe", L"notepad"};
    const size_t rootLength = m_root.Path().size() + 1;
    for (size_t length = 255; length <= 259; ++length) {
        known.push_back(m_root.AddFile(std::wstring(length - rootLength - 4, L'c') + L".cpl"));
        known.push_back(m_root.AddFile(std::wstring(length - rootLength - 4, L'e') + L".exe"));
    }
    TextGenerator generator(77);
    GuardedBuffer text;
    GuardedBuffer program;
    GuardedBuffer parameters;
    GuardedBuffer workingDirectory;
    for (int i = 0; i < 2500; ++i) {
        LaunchKind kind = LaunchKind::Nothing;
        if (generator.Pick(20) == 0) {
            text.FillUnterminated(generator.Next(30) + L".exe ");
            ASSERT_FALSE(ComposeLaunch(text.get(), kind, program.get(), parameters.get(),
                                       workingDirectory.get()));
            continue;
        }
        std::wstring input = generator.Next(259);
        if (generator.Pick(4) == 0) {
            input = known[generator.Pick(known.size())];
        } else if (generator.Pick(3) == 0) {
            input = (L"\"" + input).substr(0, 259);
        }
        text.Assign(input);
        bool ok = ComposeLaunch(text.get(), kind, program.get(), parameters.get(),
                                workingDirectory.get());
        SCOPED_TRACE("case " + std::to_string(i) + ": " + Utf8(input));
        ASSERT_TRUE(program.IsTerminated());
        ASSERT_TRUE(parameters.IsTerminated());
        ASSERT_TRUE(workingDirectory.IsTerminated());
        const std::wstring p = program.Text();
        const std::wstring a = parameters.Text();
        if (!ok) {
            continue;
        }
        ASSERT_EQ(input.empty(), p.empty());
        switch (kind) {
        case LaunchKind::Nothing:
            ASSERT_TRUE(input.empty());
            break;
        case LaunchKind::Applet:
            ASSERT_EQ(L"\"" + input + L"\"", a);
            break;
        case LaunchKind::ExistingPath:
        case LaunchKind::Associated:
            ASSERT_EQ(input, p);
            ASSERT_EQ(L"", a);
            break;
        case LaunchKind::QuotedProgram:
            // Either "program" + one dropped unit + parameters, or the rest
            // of an unclosed quote as the program.
            if (p[0] == L'"') {
                ASSERT_TRUE(StartsWith(input, p));
                ASSERT_TRUE(a.empty() || input.substr(p.size() + 1) == a);
            } else {
                ASSERT_EQ(input.substr(1), p);
            }
            break;
        case LaunchKind::ProgramWithArguments:
            ASSERT_EQ(input, p + a);
            ASSERT_TRUE(a.empty() || a[0] == L' ' || a[0] == L'\t');
            break;
        case LaunchKind::Browser:
            ASSERT_EQ(input, a);
            break;
        }
    }
}

} // namespace
