#!/bin/bash
# Makes a demo laboratory in the given folder: pcs.txt, station folders with exam
# files of varied ages, one station that is switched off, and the collection root.
set -euo pipefail

lab=${1:?usage: make-demo-lab.sh FOLDER}
rm -rf "$lab"
mkdir -p "$lab"
cd "$lab"
root=$PWD

mkdir -p "recolha/Lab 3/Sessao1" backup
for n in 01 02 03 04 05; do
    mkdir -p "estacoes/pc$n"
done

touch -d '-3 minutes' "estacoes/pc01/exame_pc01.txt" "estacoes/pc01/notas.txt"
echo 'int main() { return 0; }' > estacoes/pc01/exame.c
touch -d '-2 minutes' estacoes/pc01/exame.c
touch -d '-25 minutes' "estacoes/pc02/exame_pc02.txt"
echo 'SELECT * FROM alunos;' > "estacoes/pc03/consulta final.sql"
touch -d '-1 minutes' "estacoes/pc03/consulta final.sql"
touch -d '-40 minutes' "estacoes/pc03/rascunho.txt"
: # pc04 has no exam file yet
touch -d '-12 minutes' estacoes/pc05/exame.txt estacoes/pc05/exame.bak

{
    printf '%s\r\n' '*.txt;*.c;*.sql'
    printf '%s\r\n' 'Lab 3'
    # Paths relative to the lab folder, where Varnok is started, keep the rows short.
    printf '%s\r\n' recolha backup
    for n in 01 02 03 04 05; do
        printf '%s\r\n' "estacoes/pc$n"
    done
    printf '%s\r\n' estacoes/pc06-desligado
} > pcs.txt
echo "Demo lab made in $root"
