// Resuming after a crash or a power cut: while the program runs, "SESSAO.INI" in the data
// folder keeps both decks' playlists and selections, what plays and where, and the auto-mix
// switches, marked as running; the confirmed exit marks it closed. A start that finds it still
// running offers to bring that programme back. Main thread only.
#pragma once

class Tform_mixer;

namespace session {

// The question a start asks when the previous run did not end through the exit.
inline constexpr const char* resumeQuestion =
    "O Voltaria não foi encerrado corretamente. Retomar a programação anterior?";
// After a power cut nobody may be there to answer: the question answers OK by itself after this
// long, counting down in the box.
inline constexpr int resumeAnswerSeconds = 30;
inline constexpr const char* resumeCountdown = "Sem resposta, a programação será retomada em %1 s.";

// What the operator is told, once, when the disk refuses the file.
inline constexpr const char* writeErrorText =
    "Erro ao Gravar a Sessão (SESSAO.INI) - Verifique o espaço em disco. O Voltaria tentará de novo.";

// The end of the window's show step: offers the previous programme when the state file says
// the last run never ended, restores it on OK or after 30 s without an answer, and from then on keeps the file up to date.
void start(Tform_mixer& window);

// The confirmed exit: the file is marked closed, and written before this returns.
void close(Tform_mixer& window);

} // namespace session
